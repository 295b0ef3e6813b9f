// The profile store's "settings.ini" on arbitrary bytes, beside the profiles
// Ann and Bo. The store selects the profile the file names in quotes, else
// the first; the final write names the current profile in quotes and keeps
// every other key the file held.
#include "game/shell/ProfileManager.h"
#include "platform/fs/FolderCache.h"
#include "resources/ini/IniCaseCompare.h"
#include "resources/ini/IniDocument.h"
#include "util/StringUtils.h"

#include "tests/fuzz/FuzzBytes.h"
#include "tests/fuzz/FuzzHeadlessPlatform.h"
#include "tests/fuzz/FuzzScratchFolder.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

void Setup()
{
    static const bool done = [] {
        Platform::InstallPlatform(std::make_unique<FuzzHeadlessPlatform>());
        Tandry::gGameDataDir = Tandry::WidenString(FuzzScratchFolder::Path().string());
        Tandry::gProfilesDir = Tandry::gGameDataDir + L"\\profiles\\";
        fs::create_directories(FuzzScratchFolder::Path() / "profiles");
        Platform::FolderCache::Reset();
        Tandry::ProfileManager& store = Tandry::GetProfileManager();
        store.CreateProfile(L"Bo");
        store.CreateProfile(L"Ann");
        Tandry::ShutdownProfileManager();
        return true;
    }();
    (void)done;
}

// The name the settings select: quoted, longer than the two quotes, and a profile.
std::wstring Expected(Tandry::WideIniDocument& doc)
{
    const Tandry::WideIniDocument::Cursor found = doc.FindKey(L"Main", L"Profile");
    if (found == Tandry::WideIniDocument::NotFound())
        return L"Ann";
    const std::wstring value = found.GetValue();
    if (value == L"\"Bo\"")
        return L"Bo";
    return L"Ann";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Setup();
    static_cast<FuzzHeadlessPlatform&>(Platform::GetPlatform()).ForgetRecords();
    const fs::path settings = FuzzScratchFolder::Path() / "settings.ini";
    {
        std::ofstream out(settings, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    Platform::FolderCache::Reset();
    Tandry::WideIniDocument before;
    Tandry::WideIniDocument::LoadBytes(data, size, before);
    const std::wstring expected = Expected(before);
    FuzzCheck(Tandry::GetProfileManager().GetCurrentName() == expected);
    Tandry::ShutdownProfileManager();

    std::ifstream in(settings, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Tandry::WideIniDocument after;
    Tandry::WideIniDocument::LoadBytes(written.data(), written.size(), after);
    const Tandry::WideIniDocument::Cursor profile = after.FindKey(L"Main", L"Profile");
    FuzzCheck(!(profile == Tandry::WideIniDocument::NotFound()));
    FuzzCheck(profile.GetValue() == L"\"" + expected + L"\"");

    // Every other key keeps its value, as far as the ini text form can carry
    // what was read (a name read with escapes is written without them).
    const std::string again = Tandry::WideIniDocument::SaveBytes(before);
    Tandry::WideIniDocument reread;
    Tandry::WideIniDocument::LoadBytes(again.data(), again.size(), reread);
    if (Tandry::WideIniDocument::SaveBytes(reread) != again)
        return 0;
    for (size_t s = 0; s < before.GetSectionCount(); ++s) {
        const auto& sec = before.GetSection(s);
        for (const auto& entry : sec.entries) {
            if (entry->kind != 2)
                continue;
            const bool isProfile = Tandry::AsciiCaseEqual(sec.header.key, std::wstring(L"Main")) &&
                                   Tandry::AsciiCaseEqual(entry->key, std::wstring(L"Profile"));
            if (isProfile)
                continue;
            const Tandry::WideIniDocument::Cursor found = after.FindKey(sec.header.key, entry->key);
            FuzzCheck(!(found == Tandry::WideIniDocument::NotFound()) && found.GetValue() == entry->value);
        }
    }
    return 0;
}
