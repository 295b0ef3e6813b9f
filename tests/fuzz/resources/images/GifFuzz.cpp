// ReadGif on arbitrary bytes, read from a pack member.
#include "tests/fuzz/ImageFuzzPack.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ReadImageFromOneMemberPack(data, size, ".gif", &Tandry::ImageLib::ReadGif);
    return 0;
}
