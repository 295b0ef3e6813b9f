// What the capability test reads from outside: the six cache values, which a
// player may edit to any type, size and content, and the two card lists, which
// may hold any bytes. Loading the cache must accept exactly a complete,
// matching cache that records a pass, and take its texts no further than the
// stored bytes; the card decision must agree with a plain reading of the
// lists written here from their rules.
#include "graphics/display/D3DTester.h"

#include "platform/fs/FileOps.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/registry/RegistryStore.h"
#include "tests/fuzz/FuzzBytes.h"
#include "tests/fuzz/FuzzScratchFolder.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

using Platform::REG_BINARY;
using Platform::REG_DWORD;
using Platform::REG_SZ;

constexpr const char* kKeyPath = "SOFTWARE\\Fuzz\\Test3D";
constexpr int kMinMemory = 6;
constexpr int kRecMemory = 14;
const Platform::DEVICEGUID kGuid{0x01020304, 0x0506, 0x0708, {9, 10, 11, 12, 13, 14, 15, 16}};
// The GUID as the registry keeps it: the three numbers low byte first.
const std::vector<uint8_t> kGuidBytes{4, 3, 2, 1, 6, 5, 8, 7, 9, 10, 11, 12, 13, 14, 15, 16};
const char* const kNames[6] = {"Version", "MinVidMemory", "RecVidMemory", "DisplayGUID", "FailureReason", "Warning"};

struct Value {
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

std::vector<uint8_t> Dword(uint32_t value)
{
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
            static_cast<uint8_t>(value >> 24)};
}

// The right value of each name, and one that is well formed but does not match.
Value Canonical(int index, bool right)
{
    switch (index) {
    case 0: return {REG_DWORD, Dword(right ? 2 : 3)};
    case 1: return {REG_DWORD, Dword(right ? kMinMemory : kMinMemory + 1)};
    case 2: return {REG_DWORD, Dword(right ? kRecMemory : 0)};
    case 3: {
        std::vector<uint8_t> guid = kGuidBytes;
        if (!right)
            guid[15] ^= 0x80;
        return {REG_BINARY, guid};
    }
    default: return {REG_SZ, right ? std::vector<uint8_t>{0} : std::vector<uint8_t>{'x', 0}};
    }
}

std::optional<Value> DrawValue(FuzzBytes& in, int index)
{
    switch (in.Byte() % 4) {
    case 0: return std::nullopt;
    case 1: return Canonical(index, true);
    case 2: return Canonical(index, false);
    default: break;
    }
    static const uint32_t kTypes[4] = {REG_SZ, REG_DWORD, REG_BINARY, 7};
    Value value;
    value.type = kTypes[in.Byte() % 4];
    // Now and then about the longest text the cache takes.
    const uint8_t kind = in.Byte();
    const int length = kind % 8 == 0 ? in.Range(4090, 4100) : kind % 24;
    value.data.resize(static_cast<size_t>(length));
    for (uint8_t& byte : value.data)
        byte = in.Byte();
    return value;
}

std::string TextBeforeZero(const std::vector<uint8_t>& data)
{
    return std::string(data.begin(), std::find(data.begin(), data.end(), uint8_t{0}));
}

bool IsDword(const std::optional<Value>& value, uint32_t expected)
{
    return value && value->type == REG_DWORD && value->data == Dword(expected);
}

bool IsText(const std::optional<Value>& value)
{
    return value && value->type == REG_SZ && value->data.size() <= 4096;
}

// The cache counts when every value is there in its type and size and the
// numbers and the GUID match; it records a pass when the failure reason is
// empty as well.
bool ReferenceComplete(const std::optional<Value> (&values)[6])
{
    return IsDword(values[0], 2) && IsDword(values[1], kMinMemory) && IsDword(values[2], kRecMemory) &&
           values[3] && values[3]->type == REG_BINARY && values[3]->data == kGuidBytes && IsText(values[4]) &&
           IsText(values[5]);
}

std::string Lower(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

bool Contains(const std::string& text, const std::string& part)
{
    return !text.empty() && Lower(text).find(Lower(part)) != std::string::npos;
}

// Lines at LF, in pieces of 3999 bytes, each up to its first zero byte and
// trimmed; a non-empty piece that the description contains lists the card.
bool ReferenceListed(const std::string& contents, const std::string& description)
{
    size_t start = 0;
    while (start < contents.size()) {
        size_t end = contents.find('\n', start);
        if (end == std::string::npos)
            end = contents.size();
        const std::string line = contents.substr(start, end - start);
        for (size_t at = 0; at < std::max<size_t>(line.size(), 1); at += 3999) {
            std::string piece = line.substr(std::min(at, line.size()), 3999);
            piece = piece.substr(0, piece.find('\0'));
            const size_t first = piece.find_first_not_of(" \t\r\n\v\f");
            if (first == std::string::npos)
                continue;
            piece = piece.substr(first, piece.find_last_not_of(" \t\r\n\v\f") - first + 1);
            if (Contains(description, piece))
                return true;
        }
        start = end + 1;
    }
    return false;
}

void WriteList(const char* name, const std::optional<std::string>& contents)
{
    Platform::RemoveFile(name);
    if (!contents)
        return;
    FILE* file = Platform::OpenFile(name, "wb");
    FuzzCheck(file != nullptr);
    std::fwrite(contents->data(), 1, contents->size(), file);
    std::fclose(file);
}

std::optional<std::string> DrawList(FuzzBytes& in)
{
    if (!in.Bool())
        return std::nullopt;
    // Now and then a list with a line longer than the pieces it is read in.
    const uint8_t kind = in.Byte();
    std::string contents(static_cast<size_t>(kind == 0 ? in.Range(3990, 9000) : kind), '\0');
    for (char& c : contents) {
        // Mostly letters, spaces and line ends, so that lines can match.
        const uint8_t byte = in.Byte();
        static const char kCommon[] = "radeon nvidia ati 96\r\n\t";
        c = byte < 128 ? kCommon[byte % (sizeof(kCommon) - 1)] : static_cast<char>(byte);
    }
    return contents;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Platform::HeadlessPlatform& platform = Platform::InstallHeadlessPlatform();
    FuzzScratchFolder folder;
    FuzzBytes in(data, size);

    Platform::Registry& registry = platform.Registry();
    Platform::RegistryKey key;
    FuzzCheck(registry.CreateKey(kKeyPath, key));
    std::optional<Value> values[6];
    for (int i = 0; i < 6; ++i) {
        registry.DeleteValue(key, kNames[i]);
        values[i] = DrawValue(in, i);
        if (values[i])
            registry.SetValue(key, kNames[i], values[i]->type, values[i]->data.data(),
                              static_cast<uint32_t>(values[i]->data.size()));
    }
    Tandry::D3DTester tester;
    tester.mMinVidMemory = kMinMemory;
    tester.mRecVidMemory = kRecMemory;
    tester.mDeviceGuid = kGuid;
    tester.OpenCache("Fuzz");
    const bool loaded = tester.LoadCache();
    const bool complete = ReferenceComplete(values);
    FuzzCheck(loaded == (complete && TextBeforeZero(values[4]->data).empty()));
    FuzzCheck(tester.mFreshResult == !complete);
    if (complete) {
        FuzzCheck(tester.mFailureReason == TextBeforeZero(values[4]->data));
        FuzzCheck(tester.mWarning == TextBeforeZero(values[5]->data));
    }

    std::string description(static_cast<size_t>(in.Byte() % 48), ' ');
    for (char& c : description) {
        const uint8_t byte = in.Byte();
        static const char kCommon[] = "RADEON NVIDIA ATI 9600 ";
        c = byte < 160 ? kCommon[byte % (sizeof(kCommon) - 1)] : static_cast<char>(byte | 1);
    }
    const int year = in.Range(0, 2010);
    const std::optional<std::string> refused = DrawList(in);
    const std::optional<std::string> accepted = DrawList(in);
    WriteList("vhwb.dat", refused);
    WriteList("vhw.dat", accepted);
    tester.mDriverYear = year;
    bool expected;
    if (refused && ReferenceListed(*refused, description))
        expected = false;
    else if (accepted)
        expected = ReferenceListed(*accepted, description);
    else if (year < 2002)
        expected = Contains(description, "nvidia") || Contains(description, "radeon") || Contains(description, "ati ");
    else
        expected = true;
    FuzzCheck(tester.IsSupportedCard(description) == expected);
    return 0;
}
