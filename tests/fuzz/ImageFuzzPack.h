// Shared by the image fuzz targets: the input becomes the one member of a pack
// held in memory and is read through the file layer by the reader under test,
// the way a shipped picture is read.
#pragma once

#include "resources/images/ImageLib.h"
#include "resources/pak/PakInterface.h"
#include "resources/pak/PakWriter.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Resets the file layer and adds a pack held in memory whose one member,
// named memberName, holds the bytes. False when no such pack could be made.
inline bool AddOneMemberPack(const std::string& memberName, const uint8_t* data, size_t size)
{
    Tandry::PakInterface* pak = Tandry::GetSharedPakInterface();
    pak->Reset();
    std::vector<uint8_t> bytes;
    if (size > 0)
        bytes.assign(data, data + size);
    std::vector<Tandry::PakWriteEntry> entries;
    entries.push_back(Tandry::PakWriteEntry::FromBytes(memberName, std::move(bytes)));
    std::vector<uint8_t> pack;
    std::string error;
    return Tandry::WritePakToMemory(entries, pack, error) && pak->AddPakMemory("fuzz.pak", std::move(pack));
}

inline void ReadImageFromOneMemberPack(const uint8_t* data, size_t size, const std::string& extension,
                                       std::unique_ptr<Tandry::ImageLib::Image> (*read)(const std::string&))
{
    if (AddOneMemberPack("DATA\\FUZZ" + extension, data, size))
        read("data/fuzz" + extension);
    Tandry::GetSharedPakInterface()->Reset();
}
