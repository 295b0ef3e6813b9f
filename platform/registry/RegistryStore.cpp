#include "platform/registry/RegistryStore.h"

namespace Platform {
namespace {

// Windows' upper-case partner of a Windows-1252 byte, or the byte itself.
unsigned char FoldByte(unsigned char c)
{
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<unsigned char>(c - 32);
    switch (c) {
    case 0x9A: return 0x8A; // š
    case 0x9C: return 0x8C; // œ
    case 0x9E: return 0x8E; // ž
    case 0xFF: return 0x9F; // ÿ
    default: return c;
    }
}

std::string JoinLevels(const std::vector<std::string>& levels, size_t count)
{
    std::string joined;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0)
            joined += '\\';
        joined += levels[i];
    }
    return joined;
}

} // namespace

std::vector<std::string> RegistryStore::SplitPath(const std::string& path)
{
    std::vector<std::string> levels;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start)
            levels.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return levels;
}

std::string RegistryStore::FoldCase(const std::string& text)
{
    std::string folded = text;
    for (char& c : folded)
        c = static_cast<char>(FoldByte(static_cast<unsigned char>(c)));
    return folded;
}

RegistryStore::Key* RegistryStore::FindKey(const std::string& path)
{
    std::vector<std::string> levels = SplitPath(path);
    auto found = mKeys.find(FoldCase(JoinLevels(levels, levels.size())));
    return found == mKeys.end() ? nullptr : &found->second;
}

const RegistryStore::Key* RegistryStore::FindKey(const std::string& path) const
{
    return const_cast<RegistryStore*>(this)->FindKey(path);
}

bool RegistryStore::HasKey(const std::string& path) const
{
    return SplitPath(path).empty() || FindKey(path) != nullptr;
}

void RegistryStore::CreateKey(const std::string& path)
{
    std::vector<std::string> levels = SplitPath(path);
    for (size_t count = 0; count <= levels.size(); ++count) {
        std::string joined = JoinLevels(levels, count);
        std::string folded = FoldCase(joined);
        if (mKeys.find(folded) == mKeys.end())
            mKeys.emplace(folded, Key{joined, {}});
    }
}

const RegistryValue* RegistryStore::FindValue(const std::string& path, const std::string& name) const
{
    const Key* key = FindKey(path);
    if (key == nullptr)
        return nullptr;
    std::string folded = FoldCase(name);
    for (const RegistryValue& value : key->values) {
        if (FoldCase(value.name) == folded)
            return &value;
    }
    return nullptr;
}

void RegistryStore::SetValue(const std::string& path, const std::string& name, uint32_t type,
                             std::vector<uint8_t> data)
{
    CreateKey(path);
    Key* key = FindKey(path);
    std::string folded = FoldCase(name);
    for (RegistryValue& value : key->values) {
        if (FoldCase(value.name) == folded) {
            value.type = type;
            value.data = std::move(data);
            return;
        }
    }
    key->values.push_back({name, type, std::move(data)});
}

bool RegistryStore::DeleteValue(const std::string& path, const std::string& name)
{
    Key* key = FindKey(path);
    if (key == nullptr)
        return false;
    std::string folded = FoldCase(name);
    return std::erase_if(key->values, [&](const RegistryValue& v) { return FoldCase(v.name) == folded; }) > 0;
}

} // namespace Platform
