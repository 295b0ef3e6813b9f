// The game shell's fixed values: the interface colours and the names of the
// files and folders of settings, profiles, movies and hidden-object levels.
// All constant-initialised, so any global of any file may use them.
#pragma once

#include "graphics/types/Color.h"

#include <string_view>

namespace Tandry {

// Outlines, halos, frames and the dark text of dialogs and profile screens.
inline constexpr Color UiDarkColor{0xFF2B0E00u};
// The light text of tooltips, bubbles and the profile list.
inline constexpr Color UiLightColor{0xFFFFF398u};
inline constexpr Color UiWhiteColor{0xFFFFFFFFu};
// The scene editor's outline of the selected layer.
inline constexpr Color UiEditorRedColor{0xFFF22222u};
inline constexpr Color UiHalfLightGreyColor{0x80999999u};
inline constexpr Color UiHalfDarkGreyColor{0x80555555u};

inline constexpr std::string_view GameIniPath = "res\\game.ini";
// In the data folder.
inline constexpr std::string_view SettingsFileName = "settings.ini";
// Profile files are "profile<N>.prf".
inline constexpr std::string_view ProfileFilePrefix = "profile";
inline constexpr std::string_view ProfileFileExtension = ".prf";
inline constexpr std::wstring_view ProfilesFolderPrefix = L"profiles\\";
inline constexpr std::wstring_view ProfilesFolderName = L"profiles";
// The data folder when no application-data folder can be found.
inline constexpr std::wstring_view FallbackDataFolder = L".";
inline constexpr std::string_view MoviesFolder = "res\\movies\\";
inline constexpr std::string_view HogLevelsFolder = "data/hog/";
// Under a hidden-object level's folder.
inline constexpr std::string_view HogTrashFolder = "trash/";

} // namespace Tandry
