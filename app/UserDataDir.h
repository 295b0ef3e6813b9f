// The per-user data folder (profiles, settings, demos, screenshots), chosen by
// start-up under the platform's application-data folder. It is kept wide, each
// byte of the file system's path widened on its own, so narrowing it gives the
// same bytes back.
#pragma once

#include <string>

namespace Tandry {

// Ends with a separator; empty until start-up sets it.
std::wstring GetUserDataDir();
// Appends "\\" unless the path already ends with "\\" or "/".
void SetUserDataDir(const std::wstring& path);
// Tests start from an empty folder.
void ResetUserDataDir();

} // namespace Tandry
