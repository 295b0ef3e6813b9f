// The Direct3D capability test: whether the graphics card can draw the 2D
// renderer's blends in hardware. Its outcome is a failure reason (3D refused)
// and a warning (3D allowed but not switched on by itself), kept per user in
// the registry so that a machine that passed is not tested again; the display
// owns the one tester and the application asks it at exit.
#pragma once

#include "graphics/display/D3DTestImage.h"
#include "platform/d3d/D3DInterfaces.h"
#include "platform/ddraw/DDrawInterfaces.h"
#include "platform/registry/Registry.h"

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

namespace Tandry {

class D3DTester {
public:
    // What ends a test: the failure text it leaves.
    class TestException : public std::exception {
    public:
        explicit TestException(std::string message) : mMessage(std::move(message)) {}
        const char* what() const noexcept override { return mMessage.c_str(); }
        const std::string& Message() const { return mMessage; }

    private:
        std::string mMessage;
    };

    D3DTester() = default;
    D3DTester(const D3DTester&) = delete;
    D3DTester& operator=(const D3DTester&) = delete;
    virtual ~D3DTester();

    bool Passed() const { return mFailureReason.empty(); }
    bool PassedWithoutWarning() const { return mFailureReason.empty() && mWarning.empty(); }

    // Tests (or takes the cached result) unless a demo plays, then passes the
    // result through the demo. dd is the display's DirectDraw object, or null
    // to make one.
    void Run(Platform::IDirectDraw7* dd, Platform::HWND window);
    // The checks before the render tests and the objects they draw with; false
    // when the texts already hold the outcome.
    bool Init(Platform::IDirectDraw7* dd, Platform::HWND window);
    // The five render tests in order, up to the first that fails.
    bool RunTests();
    bool TestAlphaBlend();
    bool TestAdditiveBlend();
    bool TestAlphaAddBlend();
    bool TestAlphaModulatedBlend();
    bool TestClipping();

    // The cache under the open key: true when it holds a pass for these
    // limits and this adapter; a missing or malformed value is a miss.
    bool LoadCache();
    void WriteCache();
    // The cache key of the application's registry key, when it can be made.
    void OpenCache(const std::string& registryKey);
    void ReleaseObjects();

    // The card lists first, then the driver's age and maker.
    bool IsSupportedCard(const std::string& description);

    // Draws the image in 64 x 64 tiles from its top-left corner at (x, y).
    void DrawTestImage(const D3DTestImage& image, int x, int y, uint32_t color);
    void DrawTile(const D3DTestImage& image, float x, float y, int tileX, int tileY, uint32_t color);
    // The render surface into mTestImage as 0xAARRGGBB words.
    void CopyPrimary();

    Platform::IDirectDraw7* mDD = nullptr;
    // The surface the tests draw into and read back: an off-screen one, 100 x 100.
    Platform::IDirectDrawSurface7* mPrimarySurface = nullptr;
    Platform::IDirectDrawSurface7* mTextureSurface1 = nullptr;
    Platform::IDirectDrawSurface7* mTextureSurface2 = nullptr;
    Platform::IDirect3D7* mD3D = nullptr;
    Platform::IDirect3DDevice7* mD3DDevice = nullptr;
    // Not open: the cache is not used.
    Platform::RegistryKey mCacheKey;
    Platform::DEVICEGUID mDeviceGuid;
    std::string mDriverName;
    std::string mDescription;
    D3DTestImage mTestImage;
    std::string mFailureReason;
    std::string mWarning;
    // Megabytes; the creator sets them.
    int mMinVidMemory = 0;
    int mRecVidMemory = 0;
    bool mUseCache = true;
    bool mStoreResult = false;
    // The result was computed in this run rather than taken from the cache.
    bool mFreshResult = false;
    // The year the driver file was last written; 0 when unknown.
    int mDriverYear = 0;

private:
    // The preparation every render test shares: a cleared scene with blending
    // on between the two factors.
    void BeginTest(uint32_t sourceBlend, uint32_t destBlend);
    // Draws the first and the second fill, reads back, and judges the corner.
    bool RunBlendTest(uint32_t sourceBlend, uint32_t destBlend, bool modulateAlpha, uint32_t firstFill,
                      uint32_t firstColor, uint32_t secondFill, uint32_t secondColor, uint32_t expected,
                      const char* failureText, const char* warningText);
    // Ends the scene a failed test left open and keeps its message.
    bool FailTest(const TestException& failure);
    // The Direct3D object, the render surface and device, and the two textures.
    bool CreateObjects(Platform::HWND window);
    bool CheckVideoMemory();
    void ReadDriverYear();
    bool ChooseTextureFormat(int formats);
    Platform::IDirectDrawSurface7* CreateTestTexture(const char* operation);
    void UploadTile(const D3DTestImage& image, int tileX, int tileY);
};

// Throws the test's exception, "DXError - <operation>: <name>", when hr is a failure.
void DXError(Platform::HRESULT hr, const std::string& operation);
// Direct3D 8 does not exist here: always false, and nothing is touched.
bool GetAdapterIdentifier8(Platform::DEVICEGUID* guid, std::string* driver, std::string* description);
// The index of the highest set bit; -1 for 0.
int HighestBitIndex(uint32_t mask);
// One row of a tile into a locked texture: unchanged, or to four bits a channel.
void UploadTile32(const uint32_t* source, int width, uint8_t* row);
void UploadTile4444(const uint32_t* source, int width, uint8_t* row);
// A surface pixel to 0xFFRRGGBB by the surface's channel masks.
uint32_t ConvertSurfacePixel(uint32_t pixel, uint32_t redMask, uint32_t greenMask, uint32_t blueMask);
// The year (UTC) of a FILETIME count of 100 ns since 1601.
int FileTimeYear(uint64_t fileTime);

// The test textures are A8R8G8B8, else A4R4G4B4.
extern bool gUse32BitTestTextures;
// Back to its start, for tests.
void ResetD3DTesterGlobals();

} // namespace Tandry
