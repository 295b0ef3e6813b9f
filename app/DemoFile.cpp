#include "app/DemoFile.h"

#include "util/Buffer.h"

#include <algorithm>

namespace Tandry {

namespace {

// Takes little-endian fields off the front of the bytes; every take says
// whether the field was there whole.
class FieldReader {
public:
    explicit FieldReader(std::span<const uint8_t> bytes) : mBytes(bytes) {}

    uint64_t Left() const { return mBytes.size() - mPos; }
    bool Take(uint64_t n, std::span<const uint8_t>& out)
    {
        if (n > Left())
            return false;
        out = mBytes.subspan(mPos, static_cast<size_t>(n));
        mPos += static_cast<size_t>(n);
        return true;
    }
    bool Take16(uint16_t& value)
    {
        std::span<const uint8_t> b;
        if (!Take(2, b))
            return false;
        value = static_cast<uint16_t>(b[0] | b[1] << 8);
        return true;
    }
    bool Take32(uint32_t& value)
    {
        std::span<const uint8_t> b;
        if (!Take(4, b))
            return false;
        value = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 | static_cast<uint32_t>(b[2]) << 16 |
                static_cast<uint32_t>(b[3]) << 24;
        return true;
    }

private:
    std::span<const uint8_t> mBytes;
    size_t mPos = 0;
};

std::string AsText(std::span<const uint8_t> bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// The marker block: a count, then name and update of each marker until the
// block ends. A marker that runs past the block, or fewer markers than the
// count, make the block invalid.
bool ReadMarkers(std::span<const uint8_t> block, std::vector<DemoMarker>& markers)
{
    FieldReader in(block);
    uint32_t count = 0;
    if (!in.Take32(count))
        return false;
    uint64_t read = 0;
    while (in.Left() > 0) {
        uint16_t length = 0;
        if (!in.Take16(length))
            return false;
        DemoMarker marker;
        // A length with the top bit set reads as an empty name, as the
        // stream's strings do.
        if (static_cast<int16_t>(length) > 0) {
            std::span<const uint8_t> name;
            if (!in.Take(length, name))
                return false;
            marker.name = AsText(name);
        }
        uint32_t update = 0;
        if (!in.Take32(update))
            return false;
        marker.update = static_cast<int>(update);
        markers.push_back(std::move(marker));
        ++read;
    }
    return read >= count;
}

} // namespace

bool DemoFile::Read(std::span<const uint8_t> bytes, const std::string& expectedProductVersion, DemoFile& out,
                    std::string& error)
{
    error = kInvalidText;
    FieldReader in(bytes);
    uint32_t magic = 0;
    DemoFile file;
    uint16_t versionLength = 0;
    std::span<const uint8_t> versionText;
    if (!in.Take32(magic) || magic != kMagic || !in.Take32(file.version) || !in.Take32(file.seed) ||
        !in.Take16(versionLength) || !in.Take(std::min<uint32_t>(versionLength, kMaxVersionLength), versionText))
        return false;
    file.productVersion = AsText(versionText);
    if (file.productVersion != expectedProductVersion) {
        error = kOtherVersionText + file.productVersion + "'";
        return false;
    }

    constexpr uint64_t kTotalSize = 4;
    constexpr uint64_t kLeastEvents = 1;
    if (file.version > 1) {
        uint32_t blockSize = 0;
        std::span<const uint8_t> block;
        if (!in.Take32(blockSize) || static_cast<uint64_t>(blockSize) + kTotalSize + kLeastEvents > in.Left() ||
            !in.Take(blockSize, block) || !ReadMarkers(block, file.markers))
            return false;
    }
    std::span<const uint8_t> events;
    if (!in.Take32(file.totalUpdates) || in.Left() < kLeastEvents || !in.Take(in.Left(), events))
        return false;
    file.events.assign(events.begin(), events.end());
    out = std::move(file);
    error.clear();
    return true;
}

std::vector<uint8_t> DemoFile::Write() const
{
    Buffer block;
    block.PutLong(static_cast<uint32_t>(markers.size()));
    for (const DemoMarker& marker : markers) {
        block.PutString(marker.name);
        block.PutLong(static_cast<uint32_t>(marker.update));
    }

    Buffer out;
    out.PutLong(kMagic);
    out.PutLong(version);
    out.PutLong(seed);
    const size_t versionLength = std::min<size_t>(productVersion.size(), UINT16_MAX);
    out.PutShort(static_cast<uint16_t>(versionLength));
    out.PutBytes(productVersion.data(), static_cast<int>(versionLength));
    if (version > 1) {
        out.PutLong(static_cast<uint32_t>(block.GetByteSize()));
        if (block.GetByteSize() > 0)
            out.PutBytes(block.GetData(), block.GetByteSize());
    }
    out.PutLong(totalUpdates);
    if (!events.empty())
        out.PutBytes(events.data(), static_cast<int>(events.size()));
    const uint8_t* data = out.GetData();
    return std::vector<uint8_t>(data, data + out.GetByteSize());
}

} // namespace Tandry
