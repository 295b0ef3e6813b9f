// Surface images whose pixels cannot be read (the 3D screen, a screen kept
// only in video memory, a surface that will not lock) answer the pixel
// operations of the memory image without touching memory.
#include "graphics/image/MemoryImage.h"

#include "graphics/display/DDImage.h"
#include "graphics/display/DisplayTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

using namespace Platform;
using Tandry::DDImage;

class RefusedBits : public DisplayTest::DisplayFixture {
protected:
    void SetUp() override
    {
        DisplayFixture::SetUp();
        MakeDisplay();
        ASSERT_EQ(InitWindowed(), 0);
    }
};

TEST_F(RefusedBits, PixelOperationsAnswerSafely)
{
    std::unique_ptr<DDImage> moved;
    // Each case returns its image with reading refused until the next call.
    const struct {
        const char* name;
        std::function<DDImage*()> refuse;
    } cases[] = {
        {"3D screen",
         [&] {
             mDisplay->mIs3D = true;
             return mDisplay->mScreenImage;
         }},
        {"screen in video memory",
         [&] {
             mDisplay->SetScreenInVideoMemory(true);
             return mDisplay->mScreenImage;
         }},
        {"surface that will not lock",
         [&] {
             if (!moved) {
                 moved = std::make_unique<DDImage>(mDisplay);
                 const std::vector<uint32_t> pixels(4 * 4, 0xFF336699u);
                 moved->SetBits(pixels.data(), 4, 4, true);
                 moved->CreateSurface();
                 moved->FreeMemoryCopies();
             }
             Inject({DDrawOp::Lock, DDERR_SURFACELOST});
             return moved.get();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(c.refuse()->GetBits(), nullptr);
        EXPECT_EQ(c.refuse()->GetPixel(1, 1), 0u);
        DDImage* image = c.refuse();
        const int changes = image->mChangeCount;
        image->Clear();
        EXPECT_EQ(image->mChangeCount, changes);
        EXPECT_EQ(c.refuse()->GetDisplayFormatData(mDisplay), nullptr);
        mDisplay->mIs3D = false;
        mDisplay->SetScreenInVideoMemory(false);
    }
    // Once the surface locks again the picture is still there.
    EXPECT_EQ(moved->GetPixel(1, 1), 0xFF336699u);
}

} // namespace
