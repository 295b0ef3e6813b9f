// The image aliases that the duplicate-image tool wrote to "data/common.ini":
// every name of its section "common" opens the picture its value names.
#pragma once

namespace Tandry {

// Adds the aliases to the shared file layer's table, both names in the
// table's own form so that lookups find them; a later equal name wins. No
// file, no aliases.
void ReadImageAliases();

} // namespace Tandry
