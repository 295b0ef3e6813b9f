// The screen-saver log "ScrError.txt": the first line of a run replaces the
// previous run's file, later lines are appended.
#pragma once

namespace Tandry {

// The next line starts the file anew, as at the start of a run; for tests.
void ResetScreensaverLog();

} // namespace Tandry
