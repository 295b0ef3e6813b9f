// Shared set-up of the Direct3D tests: the display brought up windowed in 3D
// on the headless stand-in, the device's calls read back from the call log,
// and the vertices of each draw as the device received them.
#pragma once

#include "graphics/display/D3DInterface.h"
#include "graphics/display/D3DVertex.h"
#include "graphics/display/DisplayTestSupport.h"
#include "graphics/display/TextureData.h"
#include "platform/d3d/D3DConstants.h"

#include <cstring>
#include <vector>

namespace DisplayTest {

class D3DFixture : public DisplayFixture {
protected:
    void SetUp() override
    {
        DisplayFixture::SetUp();
        MakeDisplay();
        mDisplay->mIs3D = true;
        ASSERT_EQ(InitWindowed(), 0) << mDisplay->mErrorText;
    }

    Tandry::D3DInterface& D3D() { return *mDisplay->mD3DInterface; }
    Tandry::DDImage& Screen() { return *mDisplay->mScreenImage; }
    void ClearLog() { Platform::DDrawRuntime::Get().ClearCallLog(); }
    std::vector<Platform::DDrawCall> Draws() { return CallsOf(CallLog(), Platform::DDrawOp::DrawPrimitive); }
    // The whole screen by the read-back rule.
    std::vector<uint32_t> ScreenPixels() { return ReadSurface(mDisplay->mDrawSurface); }
};

inline std::vector<Tandry::D3DVertex> VerticesOf(const Platform::DDrawCall& call)
{
    std::vector<Tandry::D3DVertex> vertices(call.vertices.size() / sizeof(Tandry::D3DVertex));
    if (!vertices.empty())
        std::memcpy(vertices.data(), call.vertices.data(), vertices.size() * sizeof(Tandry::D3DVertex));
    return vertices;
}

} // namespace DisplayTest
