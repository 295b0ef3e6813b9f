// The game shell's hexadecimal reader for texts from its ini files, read
// exactly as the ini keys read theirs: it never fails.
#pragma once

#include <string>

namespace Tandry {

// Each character shifts the result left by four bits and adds its value
// for "0"-"9", "a"-"f" and "A"-"F", 0 for any other; "" gives 0.
int ParseHex(const std::string& text);

} // namespace Tandry
