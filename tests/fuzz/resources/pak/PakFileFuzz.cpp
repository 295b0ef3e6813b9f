// Arbitrary bytes as a pack file on disk, added the way the program adds its
// packs: through AddPakFile and the file mapping. Every record, the pack's
// own whole-file one included, is then read whole, by name where its name
// finds it; each must give exactly its own span of the file, unscrambled.
#include "tests/fuzz/FuzzBytes.h"
#include "tests/fuzz/FuzzScratchFolder.h"

#include "resources/pak/NormalizePakPath.h"
#include "resources/pak/PakFileHandle.h"
#include "resources/pak/PakInterface.h"
#include "resources/pak/PakScramble.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <memory>
#include <vector>

using Tandry::PakFileHandle;
using Tandry::PakInterface;
using Tandry::PakRecord;

namespace {

const char* const kPackName = "fuzz.pak";

// Opened by name when the name leads back to this very record; a name that
// leads elsewhere (or nowhere, and so to the disk) is opened by record.
std::unique_ptr<PakFileHandle> OpenRecord(PakInterface& pak, const PakRecord& record)
{
    const auto found = pak.Records().find(Tandry::NormalizePakPath(record.name));
    if (found != pak.Records().end() && &found->second == &record) {
        std::unique_ptr<PakFileHandle> file(pak.Open(record.name, "rb"));
        FuzzCheck(file != nullptr && file->record == &record);
        return file;
    }
    return std::make_unique<PakFileHandle>(record);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FuzzScratchFolder inside;
    PakInterface* pak = Tandry::GetSharedPakInterface();
    pak->Reset();
    {
        std::ofstream out(kPackName, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        FuzzCheck(static_cast<bool>(out));
    }
    pak->AddPakFile(kPackName);

    std::vector<uint8_t> buffer;
    for (const auto& [key, record] : pak->Records()) {
        FuzzCheck(record.start <= size && record.size <= size - record.start);
        std::unique_ptr<PakFileHandle> file = OpenRecord(*pak, record);
        // One byte more than the record holds: the read must stop at its end.
        buffer.assign(static_cast<size_t>(record.size) + 1, 0);
        FuzzCheck(pak->Read(buffer.data(), 1, buffer.size(), file.get()) == record.size);
        for (uint64_t i = 0; i < record.size; ++i)
            FuzzCheck(buffer[i] == (data[record.start + i] ^ Tandry::kPakXorKey));
        FuzzCheck(pak->AtEnd(file.get()));
    }
    pak->Reset();
    return 0;
}
