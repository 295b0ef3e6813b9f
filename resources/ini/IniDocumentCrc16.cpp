#include "resources/ini/IniDocument.h"

namespace Tandry {

template <typename Char>
uint16_t IniDocument<Char>::ComputeCrc16(const std::string& skip) const
    requires std::is_same_v<Char, char>
{
    uint32_t crc = 0xFFFF;
    for (const auto& section : mSections) {
        for (const auto& entry : section->entries) {
            if (entry->kind != IniKind::Key || entry->key == skip)
                continue;
            for (const char c : entry->value) {
                // The byte is sign-extended to 16 bits before it is folded in.
                crc ^= uint32_t(uint16_t(int16_t(static_cast<signed char>(c))));
                for (int bit = 0; bit < 8; ++bit)
                    crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
            }
        }
    }
    return uint16_t(crc);
}

template uint16_t IniDocument<char>::ComputeCrc16(const std::string& skip) const;

} // namespace Tandry
