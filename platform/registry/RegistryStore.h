// The typed store behind the registry stand-in: keys by path with their
// values (name, Windows type number, exact bytes). Key paths and value names
// compare without regard to letter case, as on Windows (ASCII and the
// Windows-1252 letters); stored names keep their case. A key exists
// independently of its values, and creating one creates every missing level.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Platform {

constexpr uint32_t REG_SZ = 1;
constexpr uint32_t REG_BINARY = 3;
constexpr uint32_t REG_DWORD = 4;

struct RegistryValue {
    std::string name;
    uint32_t type = 0;
    std::vector<uint8_t> data;
    bool operator==(const RegistryValue&) const = default;
};

class RegistryStore {
public:
    struct Key {
        std::string path; // as first created, levels joined by '\'
        std::vector<RegistryValue> values; // in the order they were first set
        bool operator==(const Key&) const = default;
    };

    // Splits at '\' and drops empty levels; "" is the root, which always exists.
    static std::vector<std::string> SplitPath(const std::string& path);
    static std::string FoldCase(const std::string& text);

    bool HasKey(const std::string& path) const;
    // Creates the key and every missing level above it.
    void CreateKey(const std::string& path);
    const RegistryValue* FindValue(const std::string& path, const std::string& name) const;
    // Creates the key when needed; replaces a value of the same name, keeping the stored name.
    void SetValue(const std::string& path, const std::string& name, uint32_t type, std::vector<uint8_t> data);
    bool DeleteValue(const std::string& path, const std::string& name);

    void Clear() { mKeys.clear(); }
    // Keys in folded-path order, so a key comes before the keys below it.
    const std::map<std::string, Key>& Keys() const { return mKeys; }
    bool operator==(const RegistryStore&) const = default;

private:
    Key* FindKey(const std::string& path);
    const Key* FindKey(const std::string& path) const;

    std::map<std::string, Key> mKeys; // by folded path
};

} // namespace Platform
