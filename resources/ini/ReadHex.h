// The lenient hexadecimal reading of the game's texts (colours, flags in
// ini values): it never fails, whatever the text holds. The ini keys'
// NextHex and the game shell's ParseHex both read through it.
#pragma once

#include <string>

namespace Tandry {

// Every character shifts the value left by four bits; "0"-"9", "a"-"f" and
// "A"-"F" then add their digit value and any other character adds 0. Digits
// past the eighth shift the first ones out of the 32 bits. "" gives 0.
int ReadHex(const std::string& text);

} // namespace Tandry
