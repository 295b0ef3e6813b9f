// Stand-in for the shared codecs until they are merged; same signatures.
#pragma once

#include <cstdint>

namespace Platform {

enum class CodePage : uint32_t {
    Ansi = 0,
    Utf8 = 65001,
};

int MultiByteToWide(CodePage page, const char* src, int srcLen, wchar_t* dst, int dstLen);
int WideToMultiByte(CodePage page, const wchar_t* src, int srcLen, char* dst, int dstLen,
                    bool* usedDefaultChar = nullptr);

} // namespace Platform

namespace Platform {

uint16_t Windows1252HighToUnit(uint8_t byte);
int Windows1252UnitToHigh(uint32_t unit);

} // namespace Platform
