#include "resources/pak/PakTable.h"

#include "resources/pak/PakScramble.h"

namespace Tandry {

namespace {

class ScrambledReader {
public:
    explicit ScrambledReader(std::span<const uint8_t> bytes) : mBytes(bytes) {}

    uint64_t Position() const { return mPosition; }
    bool AtEnd() const { return mPosition >= mBytes.size(); }

    // Little-endian value of width bytes; false when fewer remain.
    bool ReadValue(size_t width, uint64_t& value)
    {
        if (mBytes.size() - mPosition < width)
            return false;
        value = 0;
        for (size_t i = 0; i < width; ++i)
            value |= static_cast<uint64_t>(mBytes[mPosition + i] ^ kPakXorKey) << (8 * i);
        mPosition += width;
        return true;
    }

    bool ReadText(size_t length, std::string& text)
    {
        if (mBytes.size() - mPosition < length)
            return false;
        text.resize(length);
        PakXorCopy(reinterpret_cast<uint8_t*>(text.data()), mBytes.data() + mPosition, length);
        mPosition += length;
        return true;
    }

private:
    std::span<const uint8_t> mBytes;
    size_t mPosition = 0;
};

} // namespace

PakTable ParsePakTable(std::span<const uint8_t> file)
{
    PakTable table;
    ScrambledReader reader(file);
    uint64_t magic = 0;
    if (!reader.ReadValue(4, magic) || magic != kPakMagic) {
        table.status = PakTableStatus::BadMagic;
        return table;
    }
    uint64_t version = 0;
    if (!reader.ReadValue(4, version) || version != kPakVersion) {
        table.status = PakTableStatus::BadVersion;
        return table;
    }

    std::vector<PakTableEntry> entries;
    uint64_t running = 0;
    uint64_t flags = 0;
    while (reader.ReadValue(1, flags) && (flags & 0x80) == 0) {
        PakTableEntry entry;
        uint64_t length = 0;
        uint64_t size = 0;
        if (!reader.ReadValue(1, length) || !reader.ReadText(length, entry.name)
            || !reader.ReadValue(4, size) || !reader.ReadValue(8, entry.fileTime)) {
            table.status = PakTableStatus::EntryCutShort;
            return table;
        }
        entry.start = running;
        entry.size = size;
        // Checked after every entry, so the sum stays within one entry's
        // size of the file size and cannot wrap.
        running += size;
        if (running > file.size()) {
            table.status = PakTableStatus::DataPastEnd;
            return table;
        }
        entries.push_back(std::move(entry));
    }

    const uint64_t dataStart = reader.Position();
    if (running > file.size() - dataStart) {
        table.status = PakTableStatus::DataPastEnd;
        return table;
    }
    for (PakTableEntry& entry : entries)
        entry.start += dataStart;
    table.entries = std::move(entries);
    return table;
}

const char* DescribePakTableStatus(PakTableStatus status)
{
    switch (status) {
    case PakTableStatus::Ok:
        return "ok";
    case PakTableStatus::BadMagic:
        return "not a pack file (wrong magic)";
    case PakTableStatus::BadVersion:
        return "unknown pack version";
    case PakTableStatus::EntryCutShort:
        return "table cut short inside an entry";
    case PakTableStatus::DataPastEnd:
        return "an entry's data runs past the end of the file";
    }
    return "unknown";
}

} // namespace Tandry
