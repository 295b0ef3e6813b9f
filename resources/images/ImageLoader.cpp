#include "resources/images/ImageLib.h"

#include <cstddef>
#include <string>

// GetImage: the reader chosen by extension, and the separate alpha images.

namespace Tandry::ImageLib {
namespace {

struct Reader {
    const char* extension;
    std::unique_ptr<Image> (*read)(const std::string& fileName);
};

// The order in which a name without extension is tried.
const Reader kReaders[] = {
    {".tga", &ReadTga}, {".jpg", &ReadJpeg}, {".png", &ReadPng},
    {".gif", &ReadGif}, {".j2k", &ReadJ2k},  {".jp2", &ReadJ2k},
};

bool SameExtension(const std::string& a, const char* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        char c = a[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != b[i])
            return false;
    }
    return i == a.size() && b[i] == '\0';
}

// Where the file part of a path begins: after the last "\\" or "/".
size_t FilePartStart(const std::string& name)
{
    size_t separator = name.find_last_of("\\/");
    return separator == std::string::npos ? 0 : separator + 1;
}

std::unique_ptr<Image> ReadByName(const std::string& name)
{
    std::string base = name;
    std::string extension;
    size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot >= FilePartStart(name)) {
        base = name.substr(0, dot);
        extension = name.substr(dot);
    }
    for (const Reader& reader : kReaders) {
        if (!extension.empty() && !SameExtension(extension, reader.extension))
            continue;
        if (std::unique_ptr<Image> image = reader.read(base + reader.extension))
            return image;
    }
    return nullptr;
}

std::unique_ptr<Image> FindAlphaImage(const std::string& name)
{
    const size_t filePart = FilePartStart(name);
    if (auto alpha = ReadByName(name.substr(0, filePart) + "_" + name.substr(filePart)))
        return alpha;
    if (auto alpha = ReadByName(name + "_"))
        return alpha;
    if (!name.empty() && name.back() == '_')
        return ReadByName(name);
    return nullptr;
}

} // namespace

std::unique_ptr<Image> GetImage(const std::string& name, bool lookForAlpha)
{
    std::unique_ptr<Image> image = ReadByName(name);
    if (!lookForAlpha)
        return image;
    std::unique_ptr<Image> alpha = FindAlphaImage(name);
    if (alpha == nullptr)
        return image;

    const size_t alphaCount = static_cast<size_t>(alpha->width) * alpha->height;
    if (image == nullptr) {
        const uint32_t color = gAlphaColor;
        for (size_t i = 0; i < alphaCount; ++i)
            alpha->bits[i] = (alpha->bits[i] & 0xFF) << 24 | color;
        return alpha;
    }
    // A mask of another size would put alpha in the wrong places: it is not used.
    if (alpha->width == image->width && alpha->height == image->height) {
        for (size_t i = 0; i < alphaCount; ++i)
            image->bits[i] = (image->bits[i] & 0x00FFFFFF) | (alpha->bits[i] & 0xFF) << 24;
    }
    return image;
}

} // namespace Tandry::ImageLib
