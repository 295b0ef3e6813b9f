// Shared set-up of the tests of the software drawing into surfaces: a
// display on a chosen desktop format, destination images whose only form is
// a surface holding given stored words, and the layout for the model.
#pragma once

#include "graphics/display/DDImage.h"
#include "graphics/display/DDInterface.h"
#include "graphics/display/DisplayTestSupport.h"
#include "graphics/display/SurfaceReference.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace DisplayTest {

inline constexpr Platform::DDrawFormat kSurfaceFormats[] = {
    Platform::DDrawFormat::X8R8G8B8, Platform::DDrawFormat::R5G6B5, Platform::DDrawFormat::X1R5G5B5,
    Platform::DDrawFormat::BGR565};

// Overwrites the stored words of a 16- or 32-bit surface, row after row.
inline void WriteStoredWords(Platform::IDirectDrawSurface* surface, const std::vector<uint32_t>& words)
{
    Platform::DDSURFACEDESC desc;
    desc.dwSize = sizeof(desc);
    ASSERT_EQ(surface->Lock(nullptr, &desc, Platform::DDLOCK_WAIT, nullptr), Platform::DD_OK);
    auto* row = static_cast<uint8_t*>(desc.lpSurface);
    size_t i = 0;
    for (uint32_t y = 0; y < desc.dwHeight; ++y, row += desc.lPitch) {
        for (uint32_t x = 0; x < desc.dwWidth; ++x, ++i) {
            if (desc.ddpfPixelFormat.dwRGBBitCount == 16)
                reinterpret_cast<uint16_t*>(row)[x] = static_cast<uint16_t>(words[i]);
            else
                reinterpret_cast<uint32_t*>(row)[x] = words[i];
        }
    }
    surface->Unlock(nullptr);
}

class SurfaceFixture : public DisplayFixture {
protected:
    void Up(Platform::DDrawFormat format)
    {
        Restart();
        SetDesktopFormat(format);
        MakeDisplay();
        ASSERT_EQ(InitWindowed(), 0);
    }

    SurfaceReference::Layout Layout() const
    {
        return {mDisplay->mRGBBits, static_cast<uint32_t>(mDisplay->mRedMask),
                static_cast<uint32_t>(mDisplay->mGreenMask), static_cast<uint32_t>(mDisplay->mBlueMask)};
    }

    // An opaque surface image whose surface holds words; only the surface remains.
    std::unique_ptr<Tandry::DDImage> Destination(const std::vector<uint32_t>& words, int width, int height)
    {
        auto image = std::make_unique<Tandry::DDImage>(mDisplay);
        const std::vector<uint32_t> opaque(static_cast<size_t>(width) * height, 0xFF000000u);
        image->SetBits(opaque.data(), width, height, true);
        EXPECT_TRUE(image->CreateSurface());
        image->FreeMemoryCopies();
        WriteStoredWords(image->mSurface, words);
        return image;
    }

    // Words that fit the display's depth.
    std::vector<uint32_t> RandomWords(std::mt19937& rng, size_t count) const
    {
        const uint32_t keep = mDisplay->mRGBBits == 16 ? 0xFFFFu : 0xFFFFFFFFu;
        std::vector<uint32_t> words(count);
        for (uint32_t& w : words)
            w = rng() & keep;
        return words;
    }
};

} // namespace DisplayTest
