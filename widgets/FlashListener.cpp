#include "widgets/FlashListener.h"

namespace Tandry {

void FlashListener::OnMovieStopped(int /*id*/) {}

void FlashListener::OnFlashCommand(int /*id*/, const std::string& /*command*/, const std::string& /*arguments*/) {}

} // namespace Tandry
