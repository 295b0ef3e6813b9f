// Reads the decimal number at the start of outside text (command-line values,
// numbered demo file names): an optional sign and at least one digit, held at
// the int range instead of overflowing. Whatever follows the digits is ignored.
#pragma once

#include <optional>
#include <string_view>

namespace Tandry {

std::optional<int> ReadLeadingInt(std::string_view text);

} // namespace Tandry
