// The conversions of MultiByteToWideChar and WideCharToMultiByte for the two
// code pages the program uses: CP_ACP, fixed as Windows-1252, and CP_UTF8.
// Wide text holds one UTF-16 unit per element. Malformed UTF-8 gives U+FFFD,
// a lone surrogate encodes as U+FFFD, and a character without a Windows-1252
// byte becomes '?'. Never depends on the C locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Platform {

constexpr uint32_t CP_ACP = 0;
constexpr uint32_t CP_UTF8 = 65001;

std::wstring MultiByteToWideChar(uint32_t codePage, std::string_view bytes);
std::string WideCharToMultiByte(uint32_t codePage, std::wstring_view text);

} // namespace Platform
