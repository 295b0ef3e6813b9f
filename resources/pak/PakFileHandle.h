// One open file of the file layer: a pack member (record set, file null) or a
// plain file (record null). Callers treat it as opaque, except that one may
// test record and read record->size to learn that a file lies in a pack and
// how large it is.
#pragma once

#include "resources/pak/PakRecord.h"

#include <cstdint>
#include <cstdio>

namespace Tandry {

struct PakFileHandle {
    const PakRecord* record = nullptr;
    int64_t position = 0;   // read position within the record, 0..size
    FILE* file = nullptr;
};

} // namespace Tandry
