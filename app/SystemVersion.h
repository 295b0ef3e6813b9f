// The two questions the framework asks about the operating system's version,
// each answered once and remembered.
#pragma once

namespace Tandry {

// Always false here: the narrow window classes are never needed.
bool IsWindows9x();
// Always true here: the per-user data folder is always used.
bool IsVistaOrLater();
// Tests ask afresh.
void ResetSystemVersionCache();

} // namespace Tandry
