// The game's read-mostly settings reader for narrow ini files: "res\\game.ini",
// the layouts' "layers.ini", "pic.ini", the ambient sound sets and the like.
// The whole text is lower-cased when read, every value is a comma list, and
// each key keeps a read cursor, so callers take a list's items one call after
// another by passing an empty key (and section) name. Selection state is
// shared by every reader of one object. Order-keeping documents with
// comments are IniDocument's job.
#pragma once

#include "resources/ini/IniSection.h"

#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace Tandry {

class IniFile {
public:
    IniFile() = default;
    // Saves to the path last used when the object is marked modified.
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    // Reads a file through the file layer and adds its sections to those
    // present. A file that cannot be opened changes nothing but the path.
    void Load(const std::string& path);
    // The same for the bytes of a file (read up to the first NUL).
    void LoadText(std::string_view bytes);
    // Writes every section with LF line ends through the safe write; a
    // non-empty path replaces the path first. False, with the old file left
    // as it was, when anything fails.
    bool SaveTo(const std::string& path);
    // The text SaveTo writes.
    std::string FormatText() const;
    // Empties the object (no save) and forgets its path.
    void Clear();

    const std::string& GetPath() const { return mPath; }
    bool IsModified() const { return mModified; }
    void SetModified(bool modified) { mModified = modified; }
    const std::deque<IniSection>& GetSections() const { return mSections; }
    IniSection* GetCurrentSection() const { return mCurrentSection; }

    // The section of exactly that name, appended empty when there is none;
    // it becomes the current section.
    IniSection& SelectSection(const std::string& name);
    // Lower-cases and selects a non-empty name; then the current section.
    IniSection* UseSection(const std::string& name);

    std::string GetString(const std::string& key, const std::string& section, const std::string& defaultValue);
    float GetFloat(const std::string& key, const std::string& section, float defaultValue);
    // All items of the key joined with ","; empty when it is missing.
    std::string GetValueText(const std::string& section, const std::string& key);
    // Appends every item of the key.
    void GetValueList(std::vector<std::string>& out, const std::string& key, const std::string& section);
    // Appends the names of the section's keys in order.
    void GetKeyNames(const std::string& section, std::vector<std::string>& out);

private:
    IniKey* UseKey(const std::string& key, const std::string& section);
    void ParseLine(std::string_view line);

    std::string mPath;
    bool mModified = false;
    std::deque<IniSection> mSections;  // a deque keeps mCurrentSection valid as sections are added
    IniSection* mCurrentSection = nullptr;
};

} // namespace Tandry
