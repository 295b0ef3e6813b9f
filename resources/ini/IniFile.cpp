#include "resources/ini/IniFile.h"

#include "util/StringUtils.h"

namespace Tandry {

IniFile::~IniFile()
{
    if (mModified)
        SaveTo(mPath);
}

void IniFile::Clear()
{
    mPath.clear();
    mModified = false;
    mCurrentSection = nullptr;
    mSections.clear();
}

void IniFile::LoadText(std::string_view bytes)
{
    // The file was read as a C string: a NUL ends the text.
    std::string text(bytes.substr(0, bytes.find('\0')));
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    // Lines end at every run of CR and LF; empty lines vanish.
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        const size_t stop = end == std::string::npos ? text.size() : end;
        if (stop > start)
            ParseLine(std::string_view(text).substr(start, stop - start));
        start = stop + 1;
    }
}

void IniFile::ParseLine(std::string_view line)
{
    const size_t open = line.find('[');
    const size_t close = line.find(']');
    if (open != std::string_view::npos && close != std::string_view::npos) {
        // Up to the first ']', or to the end when that one comes before '['.
        const size_t nameEnd = close > open ? close : line.size();
        SelectSection(std::string(line.substr(open + 1, nameEnd - open - 1)));
        return;
    }
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos || !mCurrentSection)
        return;  // comments, other text, and keys before any section
    mCurrentSection->SetKey(std::string(line.substr(0, equals)), std::string(line.substr(equals + 1)));
}

std::string IniFile::FormatText() const
{
    std::string text;
    for (const IniSection& section : mSections) {
        text += "[" + section.GetName() + "]\n";
        for (const IniKey& key : section.GetKeys())
            text += key.GetName() + " = " + JoinCommaList(key.GetValues()) + "\n";
        text += "\n";
    }
    return text;
}

IniSection& IniFile::SelectSection(const std::string& name)
{
    for (IniSection& section : mSections) {
        if (section.GetName() == name) {
            mCurrentSection = &section;
            return section;
        }
    }
    mCurrentSection = &mSections.emplace_back(name);
    return *mCurrentSection;
}

IniSection* IniFile::UseSection(const std::string& name)
{
    if (!name.empty())
        SelectSection(LowerCaseCopy(name));
    return mCurrentSection;
}

IniKey* IniFile::UseKey(const std::string& key, const std::string& section)
{
    IniSection* selected = UseSection(section);
    return selected ? selected->UseKey(LowerCaseCopy(key)) : nullptr;
}

std::string IniFile::GetString(const std::string& key, const std::string& section, const std::string& defaultValue)
{
    IniSection* selected = UseSection(section);
    return selected ? selected->GetString(LowerCaseCopy(key), defaultValue) : defaultValue;
}

float IniFile::GetFloat(const std::string& key, const std::string& section, float defaultValue)
{
    IniSection* selected = UseSection(section);
    return selected ? selected->GetFloat(LowerCaseCopy(key), defaultValue) : defaultValue;
}

std::string IniFile::GetValueText(const std::string& section, const std::string& key)
{
    const IniKey* selected = UseKey(key, section);
    return selected ? JoinCommaList(selected->GetValues()) : std::string();
}

void IniFile::GetValueList(std::vector<std::string>& out, const std::string& key, const std::string& section)
{
    if (const IniKey* selected = UseKey(key, section))
        out.insert(out.end(), selected->GetValues().begin(), selected->GetValues().end());
}

void IniFile::GetKeyNames(const std::string& section, std::vector<std::string>& out)
{
    if (const IniSection* selected = UseSection(section)) {
        for (const IniKey& key : selected->GetKeys())
            out.push_back(key.GetName());
    }
}

} // namespace Tandry
