// The form in which the file layer looks names up in its packs and alias
// table: separators become one '\\', ".." after a separator steps back by
// text, and every 'a'..'z' is upper-cased, so "data/Sounds//Click.WAV" and
// "DATA\\SOUNDS\\CLICK.WAV" are the same key. A name that begins with the
// current folder and a separator has that part dropped first.
#pragma once

#include <string>
#include <string_view>

namespace Tandry {

// The walk ends at the first NUL, as it did over C strings. The result is
// never longer than the name.
std::string NormalizePakPath(std::string_view name);

// The case folding of pack keys, and the only one: the table's names are
// entered under it and every name looked up goes through it, so the two
// cannot drift apart. Only 'a'..'z' change.
std::string FoldPakKey(std::string key);

} // namespace Tandry
