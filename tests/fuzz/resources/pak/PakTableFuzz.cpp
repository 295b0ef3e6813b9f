// Arbitrary bytes added as a pack: every record is read whole, character by
// character and line by line, and "*.*" is enumerated. Nothing may read
// outside the pack's bytes. A search the pack does not satisfy goes on to the
// disk, so the target lists an empty folder of its own, not wherever it was
// started.
#include "tests/fuzz/FuzzScratchFolder.h"

#include "resources/pak/PakFile.h"
#include "resources/pak/PakInterface.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using Tandry::GetSharedPakInterface;
using Tandry::PakFileHandle;
using Tandry::PakFindClose;
using Tandry::PakFindFirst;
using Tandry::PakFindNext;
using Tandry::PakFindRecord;
using Tandry::PakInterface;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FuzzScratchFolder inside;
    PakInterface* pak = GetSharedPakInterface();
    pak->Reset();
    pak->AddPakMemory("FUZZ.PAK", std::vector<uint8_t>(data, data + size));

    std::vector<uint8_t> buffer;
    for (const auto& [key, record] : pak->Records()) {
        if (record.start > record.collection->size || record.size > record.collection->size - record.start)
            __builtin_trap();
        // Opened by record, not by name: a hostile key must not send the
        // open to the disk.
        PakFileHandle file(record);
        buffer.resize(static_cast<size_t>(record.size) + 1);
        if (pak->Read(buffer.data(), 1, buffer.size(), &file) != record.size)
            __builtin_trap();
        pak->Seek(&file, 0, 0);
        while (pak->GetChar(&file) >= 0) {
        }
        pak->Seek(&file, 1, 2);
        pak->UngetChar('x', &file);
        char line[8];
        while (pak->GetLine(line, sizeof line, &file) != nullptr) {
        }
    }

    Platform::FindData found;
    if (PakFindRecord* find = PakFindFirst("*.*", found)) {
        while (PakFindNext(find, found)) {
        }
        PakFindClose(find);
    }
    pak->Reset();
    return 0;
}
