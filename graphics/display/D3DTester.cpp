#include "graphics/display/D3DTester.h"

#include "graphics/display/CardList.h"
#include "graphics/display/D3DVertex.h"
#include "graphics/display/DDInterface.h"
#include "graphics/display/DXErrorName.h"
#include "graphics/display/DisplayHost.h"
#include "graphics/display/DisplayUtils.h"
#include "graphics/display/TextureData.h"
#include "platform/Platform.h"
#include "platform/d3d/D3DConstants.h"
#include "platform/ddraw/DDrawConstants.h"
#include "platform/ddraw/DDrawPixelFormat.h"
#include "platform/ddraw/DDrawRuntime.h"
#include "platform/fs/EntryInfo.h"
#include "platform/fs/FileOps.h"
#include "platform/fs/PathResolver.h"
#include "platform/window/WindowMessages.h"
#include "util/Format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

namespace Tandry {

using namespace Platform;

bool gUse32BitTestTextures = false;

void ResetD3DTesterGlobals()
{
    gUse32BitTestTextures = false;
}

namespace {

constexpr int kTileSize = 64;
constexpr int kRenderSize = 100;
constexpr uint32_t kCacheVersion = 2;
// The longest cached text, its terminator included.
constexpr uint32_t kMaxCachedText = 4096;
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr size_t kGuidSize = 16;

template <class T>
void ReleaseInterface(T*& object)
{
    if (object != nullptr)
        object->Release();
    object = nullptr;
}

// The text of a fixed-size field that ends with a zero byte, or at its end.
template <size_t N>
std::string FieldText(const char (&field)[N])
{
    return std::string(field, std::find(field, field + N, '\0'));
}

const char* BlendName(uint32_t blend)
{
    switch (blend) {
    case D3DBLEND_ONE: return "D3DBLEND_ONE";
    case D3DBLEND_SRCALPHA: return "D3DBLEND_SRCALPHA";
    case D3DBLEND_INVSRCALPHA: return "D3DBLEND_INVSRCALPHA";
    default: return "";
    }
}

// The registry keeps a GUID as Windows lays it out in memory: the three
// numbers low byte first, then the eight bytes.
std::array<uint8_t, kGuidSize> GuidBytes(const DEVICEGUID& guid)
{
    std::array<uint8_t, kGuidSize> bytes{};
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(guid.Data1 >> (8 * i));
    for (int i = 0; i < 2; ++i) {
        bytes[static_cast<size_t>(4 + i)] = static_cast<uint8_t>(guid.Data2 >> (8 * i));
        bytes[static_cast<size_t>(6 + i)] = static_cast<uint8_t>(guid.Data3 >> (8 * i));
    }
    std::copy(std::begin(guid.Data4), std::end(guid.Data4), bytes.begin() + 8);
    return bytes;
}

bool ReadCachedDword(const RegistryKey& key, const char* name, uint32_t* value)
{
    uint8_t data[4] = {};
    uint32_t type = 0;
    uint32_t length = sizeof(data);
    if (!GetPlatform().GetRegistry().QueryValue(key, name, &type, data, &length) || type != REG_DWORD ||
        length != sizeof(data))
        return false;
    *value = static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
             static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24;
    return true;
}

// The player can edit the stored value: the text is what lies before the
// first zero byte or the end of the stored bytes, never more.
bool ReadCachedText(const RegistryKey& key, const char* name, std::string* text)
{
    std::vector<uint8_t> data(kMaxCachedText);
    uint32_t type = 0;
    uint32_t length = kMaxCachedText;
    if (!GetPlatform().GetRegistry().QueryValue(key, name, &type, data.data(), &length) || type != REG_SZ ||
        length > kMaxCachedText)
        return false;
    const auto end = std::find(data.begin(), data.begin() + length, uint8_t{0});
    text->assign(data.begin(), end);
    return true;
}

void WriteCachedDword(const RegistryKey& key, const char* name, uint32_t value)
{
    const uint8_t data[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                             static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    GetPlatform().GetRegistry().SetValue(key, name, REG_DWORD, data, sizeof(data));
}

void WriteCachedText(const RegistryKey& key, const char* name, const std::string& text)
{
    // With its terminator, as a string value is stored.
    GetPlatform().GetRegistry().SetValue(key, name, REG_SZ, reinterpret_cast<const uint8_t*>(text.c_str()),
                                         static_cast<uint32_t>(text.size() + 1));
}

// Days since 1970-01-01 to the year of the proleptic Gregorian calendar.
int64_t YearOfDay(int64_t days)
{
    const int64_t z = days + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    return yearOfEra + era * 400 + (monthIndex >= 10 ? 1 : 0);
}

} // namespace

void DXError(HRESULT hr, const std::string& operation)
{
    if (hr < 0)
        throw D3DTester::TestException("DXError - " + operation + ": " + DXErrorName(hr));
}

bool GetAdapterIdentifier8(DEVICEGUID*, std::string*, std::string*)
{
    return false;
}

int HighestBitIndex(uint32_t mask)
{
    return mask == 0 ? -1 : 31 - std::countl_zero(mask);
}

void UploadTile32(const uint32_t* source, int width, uint8_t* row)
{
    std::memcpy(row, source, static_cast<size_t>(width) * sizeof(uint32_t));
}

void UploadTile4444(const uint32_t* source, int width, uint8_t* row)
{
    for (int x = 0; x < width; ++x) {
        const uint32_t p = source[x];
        const auto texel = static_cast<uint16_t>((p >> 28 & 0xF) << 12 | (p >> 20 & 0xF) << 8 | (p >> 12 & 0xF) << 4 |
                                                 (p >> 4 & 0xF));
        std::memcpy(row + 2 * x, &texel, sizeof(texel));
    }
}

uint32_t ConvertSurfacePixel(uint32_t pixel, uint32_t redMask, uint32_t greenMask, uint32_t blueMask)
{
    uint32_t argb = 0xFF000000;
    const std::pair<uint32_t, int> channels[] = {{redMask, 23}, {greenMask, 15}, {blueMask, 7}};
    for (const auto& [mask, top] : channels) {
        const int highest = HighestBitIndex(mask);
        if (highest < 0)
            continue;
        const uint32_t value = pixel & mask;
        const uint32_t moved = highest > top ? value >> (highest - top) : value << (top - highest);
        // A channel wider than 8 bits keeps its top 8.
        argb |= moved & (0xFFu << (top - 7));
    }
    return argb;
}

int FileTimeYear(uint64_t fileTime)
{
    constexpr int64_t kSecondsFrom1601To1970 = 11644473600;
    const int64_t seconds = static_cast<int64_t>(fileTime / 10000000) - kSecondsFrom1601To1970;
    const int64_t days = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
    return static_cast<int>(YearOfDay(days));
}

D3DTester::~D3DTester()
{
    ReleaseObjects();
}

void D3DTester::Run(IDirectDraw7* dd, HWND window)
{
    DisplayHost* host = GetDisplayHost();
    const bool playing = host != nullptr && host->GetDisplaySettings().playingDemo;
    if (!playing) {
        mStoreResult = false;
        if (Init(dd, window)) {
            RunTests();
        } else if (mUseCache && !mStoreResult) {
            // Checks before the cache ended it: the result is fresh unless an
            // earlier run stored one.
            uint32_t type = 0;
            uint32_t length = 0;
            mFreshResult = !mCacheKey.open ||
                           !GetPlatform().GetRegistry().QueryValue(mCacheKey, "FailureReason", &type, nullptr, &length);
            mStoreResult = true;
        }
        if (mStoreResult)
            WriteCache();
        ReleaseObjects();
    }
    if (host != nullptr) {
        host->SyncStringWithDemo(mFailureReason);
        host->SyncStringWithDemo(mWarning);
        host->SyncBoolWithDemo(mFreshResult);
    }
}

bool D3DTester::Init(IDirectDraw7* dd, HWND window)
{
    ReleaseObjects();
    mDriverYear = 0;
    if (mUseCache) {
        DisplayHost* host = GetDisplayHost();
        OpenCache(host != nullptr ? host->GetDisplaySettings().registryKey : std::string());
    }
    try {
        if (dd != nullptr) {
            dd->AddRef();
            mDD = dd;
        } else {
            if (gDirectDrawCreateEx == nullptr) {
                mFailureReason = "No DirectDrawCreateEx";
                return false;
            }
            void* object = nullptr;
            DXError(gDirectDrawCreateEx(nullptr, &object, IID_IDirectDraw7, nullptr), "DirectDrawCreateEx");
            mDD = static_cast<IDirectDraw7*>(object);
        }

        if (!GetAdapterIdentifier8(&mDeviceGuid, &mDriverName, &mDescription)) {
            DDDEVICEIDENTIFIER2 identifier;
            DXError(mDD->GetDeviceIdentifier(&identifier, 0), "GetDeviceIdentifier");
            mDeviceGuid = identifier.guidDeviceIdentifier;
            mDriverName = FieldText(identifier.szDriver);
            mDescription = FieldText(identifier.szDescription);
        }

        if (!CheckVideoMemory())
            return false;
        if (mUseCache) {
            // A cached pass stands.
            if (LoadCache())
                return false;
            mStoreResult = true;
        }
        mFailureReason.clear();
        mWarning.clear();
        ReadDriverYear();
        if (!IsSupportedCard(mDescription))
            mWarning = FormatString("Unsupported video card: %s", mDescription.c_str());
        return CreateObjects(window);
    } catch (const TestException& failure) {
        mFailureReason = failure.Message();
        return false;
    }
}

bool D3DTester::CheckVideoMemory()
{
    WindowSystem& windows = GetPlatform().GetWindows();
    const uint64_t width = static_cast<uint64_t>(std::max(windows.GetSystemMetrics(SM_CXSCREEN), 0));
    const uint64_t height = static_cast<uint64_t>(std::max(windows.GetSystemMetrics(SM_CYSCREEN), 0));
    const uint64_t bits = MakePixelFormat(DDrawRuntime::Get().GetSettings().desktopFormat).dwRGBBitCount;
    DDSCAPS2 caps;
    caps.dwCaps = DDSCAPS_VIDEOMEMORY;
    uint32_t total = 0;
    // A card that cannot say is not held back.
    if (mDD->GetAvailableVidMem(&caps, &total, nullptr) < 0)
        return true;
    // In 64 bits: the sum of a large screen and a large card must not wrap.
    const uint64_t megabytes = (bits / 8 * width * height + total) >> 20;
    if (megabytes < static_cast<uint64_t>(std::max(mMinVidMemory, 0))) {
        mFailureReason = "Not enough video memory.";
        return false;
    }
    return true;
}

void D3DTester::ReadDriverYear()
{
    std::string path = mDriverName;
    if (path.empty())
        return;
    if (path.find('/') == std::string::npos && path.find('\\') == std::string::npos) {
        const std::optional<std::string> system = GetPlatform().GetFolders().GetSystemFolder();
        if (!system)
            return;
        path = AddTrailingSlash(*system) + path;
    }
    FILE* file = OpenFile(path, "rb");
    if (file == nullptr)
        return;
    std::fclose(file);
    FindData info;
    if (ReadEntryInfo(PathResolver::Resolve(path), info))
        mDriverYear = FileTimeYear(info.lastWriteTime);
}

bool D3DTester::CreateObjects(HWND window)
{
    void* d3d = nullptr;
    DXError(mDD->QueryInterface(IID_IDirect3D7, &d3d), "QueryInterface IID_IDirect3D7");
    mD3D = static_cast<IDirect3D7*>(d3d);
    DXError(mDD->SetCooperativeLevel(window, DDSCL_NORMAL), "SetCooperativeLevel");

    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = kRenderSize;
    desc.dwHeight = kRenderSize;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE;
    DXError(mDD->CreateSurface(&desc, &mPrimarySurface, nullptr), "CreateSurface (Primary)");
    mTestImage.Resize(kRenderSize, kRenderSize);
    DXError(mD3D->CreateDevice(IID_IDirect3DHALDevice, mPrimarySurface, &mD3DDevice), "CreateDevice");

    int formats = 0;
    DXError(mD3DDevice->EnumTextureFormats(EnumTextureFormatIntoMask, &formats), "EnumTextureFormats");
    if (!ChooseTextureFormat(formats))
        return false;
    mTextureSurface1 = CreateTestTexture("CreateSurface (TextureSurface1)");
    mTextureSurface2 = CreateTestTexture("CreateSurface (TextureSurfacd2)");
    return true;
}

bool D3DTester::ChooseTextureFormat(int formats)
{
    if ((formats & kTextureA8R8G8B8) != 0) {
        gUse32BitTestTextures = true;
        return true;
    }
    mWarning = "A8R8G8B8 texture format not supported.";
    if ((formats & kTextureA4R4G4B4) != 0) {
        gUse32BitTestTextures = false;
        return true;
    }
    mFailureReason = "A4R4G4B4 and A8R8G8B8 texture formats not supported.";
    return false;
}

IDirectDrawSurface7* D3DTester::CreateTestTexture(const char* operation)
{
    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
    desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE;
    desc.ddsCaps.dwCaps2 = DDSCAPS2_D3DTEXTUREMANAGE;
    desc.dwWidth = kTileSize;
    desc.dwHeight = kTileSize;
    desc.ddpfPixelFormat = MakeTexturePixelFormat(gUse32BitTestTextures ? kTextureA8R8G8B8 : kTextureA4R4G4B4);
    IDirectDrawSurface7* texture = nullptr;
    DXError(mDD->CreateSurface(&desc, &texture, nullptr), operation);
    return texture;
}

void D3DTester::OpenCache(const std::string& registryKey)
{
    mCacheKey = RegistryKey();
    // Without a key every registry access is refused.
    if (registryKey.empty())
        return;
    if (!GetPlatform().GetRegistry().CreateKey("SOFTWARE\\" + registryKey + "\\Test3D", mCacheKey))
        mCacheKey = RegistryKey();
}

bool D3DTester::LoadCache()
{
    mFreshResult = true;
    if (!mCacheKey.open)
        return false;
    uint32_t value = 0;
    if (!ReadCachedDword(mCacheKey, "Version", &value) || value != kCacheVersion)
        return false;
    if (!ReadCachedDword(mCacheKey, "MinVidMemory", &value) || value != static_cast<uint32_t>(mMinVidMemory))
        return false;
    if (!ReadCachedDword(mCacheKey, "RecVidMemory", &value) || value != static_cast<uint32_t>(mRecVidMemory))
        return false;
    std::array<uint8_t, kGuidSize> guid{};
    uint32_t type = 0;
    uint32_t length = kGuidSize;
    if (!GetPlatform().GetRegistry().QueryValue(mCacheKey, "DisplayGUID", &type, guid.data(), &length) ||
        type != REG_BINARY || length != kGuidSize || guid != GuidBytes(mDeviceGuid))
        return false;
    std::string failure;
    std::string warning;
    if (!ReadCachedText(mCacheKey, "FailureReason", &failure) || !ReadCachedText(mCacheKey, "Warning", &warning))
        return false;
    mFailureReason = failure;
    mWarning = warning;
    mFreshResult = false;
    return mFailureReason.empty();
}

void D3DTester::WriteCache()
{
    if (!mCacheKey.open)
        return;
    WriteCachedDword(mCacheKey, "Version", kCacheVersion);
    WriteCachedDword(mCacheKey, "MinVidMemory", static_cast<uint32_t>(mMinVidMemory));
    WriteCachedDword(mCacheKey, "RecVidMemory", static_cast<uint32_t>(mRecVidMemory));
    const std::array<uint8_t, kGuidSize> guid = GuidBytes(mDeviceGuid);
    GetPlatform().GetRegistry().SetValue(mCacheKey, "DisplayGUID", REG_BINARY, guid.data(), kGuidSize);
    WriteCachedText(mCacheKey, "FailureReason", mFailureReason);
    WriteCachedText(mCacheKey, "Warning", mWarning);
}

void D3DTester::ReleaseObjects()
{
    ReleaseInterface(mDD);
    ReleaseInterface(mD3D);
    ReleaseInterface(mD3DDevice);
    ReleaseInterface(mPrimarySurface);
    ReleaseInterface(mTextureSurface1);
    ReleaseInterface(mTextureSurface2);
    mCacheKey = RegistryKey();
}

bool D3DTester::IsSupportedCard(const std::string& description)
{
    if (FileListContains("vhwb.dat", description).value_or(false))
        return false;
    if (const std::optional<bool> accepted = FileListContains("vhw.dat", description))
        return *accepted;
    // Before 2002 only the makers known to draw the blends right are trusted.
    if (mDriverYear < 2002) {
        const char* text = description.c_str();
        return FindNoCase(text, "nvidia") >= 0 || FindNoCase(text, "radeon") >= 0 || FindNoCase(text, "ati ") >= 0;
    }
    return true;
}

bool D3DTester::RunTests()
{
    return TestAlphaBlend() && TestAdditiveBlend() && TestAlphaAddBlend() && TestAlphaModulatedBlend() &&
           TestClipping();
}

bool D3DTester::TestAlphaBlend()
{
    return RunBlendTest(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, false, 0xFF0000FF, kWhite, 0x80FF0000, kWhite,
                        0x7F007F, "Alpha blend Not Supported", "Alpha blend test not uniform.");
}

bool D3DTester::TestAdditiveBlend()
{
    return RunBlendTest(D3DBLEND_ONE, D3DBLEND_ONE, false, 0xFF404040, kWhite, 0xFF404040, kWhite, 0x808080,
                        "Additive blend not supported.", "Additive blend test not uniform.");
}

bool D3DTester::TestAlphaAddBlend()
{
    return RunBlendTest(D3DBLEND_SRCALPHA, D3DBLEND_ONE, false, 0xFF404040, kWhite, 0x80808080, kWhite, 0x808080,
                        "AlphaAdd blend not supported.", "AlphaAdd blend test not uniform.");
}

bool D3DTester::TestAlphaModulatedBlend()
{
    return RunBlendTest(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, true, 0xFF0000FF, kWhite, 0xFFFF0000, 0x80FFFFFF,
                        0x7F007F, "AlphaModulated blend not supported.", "AlphaModulated blend test not uniform.");
}

bool D3DTester::TestClipping()
{
    try {
        BeginTest(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
        D3DTestImage image;
        image.FillStripes();
        // Cut by the surface's top and left edges.
        DrawTestImage(image, -2, -2, kWhite);
        DXError(mD3DDevice->EndScene(), "EndScene");
        CopyPrimary();
        if (mTestImage.CountStripeErrors() > 0)
            mWarning = "Clip problem detected.";
        return true;
    } catch (const TestException& failure) {
        return FailTest(failure);
    }
}

void D3DTester::BeginTest(uint32_t sourceBlend, uint32_t destBlend)
{
    DXError(mD3DDevice->BeginScene(), "");
    DXError(mD3DDevice->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0), "Clear");
    DXError(mD3DDevice->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1), "D3DRENDERSTATE_ALPHABLENDENABLE, TRUE");
    DXError(mD3DDevice->SetRenderState(D3DRENDERSTATE_SRCBLEND, sourceBlend),
            std::string("D3DRENDERSTATE_SRCBLEND, ") + BlendName(sourceBlend));
    DXError(mD3DDevice->SetRenderState(D3DRENDERSTATE_DESTBLEND, destBlend),
            std::string("D3DRENDERSTATE_DESTBLEND, ") + BlendName(destBlend));
    DXError(mD3DDevice->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE), "D3DRENDERSTATE_CULLMODE, D3DCULL_NONE");
}

bool D3DTester::RunBlendTest(uint32_t sourceBlend, uint32_t destBlend, bool modulateAlpha, uint32_t firstFill,
                             uint32_t firstColor, uint32_t secondFill, uint32_t secondColor, uint32_t expected,
                             const char* failureText, const char* warningText)
{
    try {
        BeginTest(sourceBlend, destBlend);
        if (modulateAlpha)
            DXError(mD3DDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE),
                    "D3DTSS_ALPHAOP, D3DTOP_MODULATE");
        D3DTestImage image;
        image.FillColumns(0, image.mWidth, image.mHeight, firstFill);
        DrawTestImage(image, 0, 0, firstColor);
        image.FillColumns(0, image.mWidth, image.mHeight, secondFill);
        DrawTestImage(image, 0, 0, secondColor);
        DXError(mD3DDevice->EndScene(), "EndScene");
        CopyPrimary();
    } catch (const TestException& failure) {
        return FailTest(failure);
    }
    switch (JudgeBlendTest(mTestImage, expected)) {
    case TestVerdict::Wrong:
        mFailureReason = failureText;
        return false;
    case TestVerdict::Uneven:
        mWarning = warningText;
        return true;
    case TestVerdict::Pass:
        break;
    }
    return true;
}

bool D3DTester::FailTest(const TestException& failure)
{
    mD3DDevice->EndScene();
    mFailureReason = failure.Message();
    return false;
}

void D3DTester::DrawTestImage(const D3DTestImage& image, int x, int y, uint32_t color)
{
    for (int tileY = 0; tileY < image.mHeight; tileY += kTileSize) {
        for (int tileX = 0; tileX < image.mWidth; tileX += kTileSize)
            DrawTile(image, static_cast<float>(x + tileX), static_cast<float>(y + tileY), tileX, tileY, color);
    }
}

void D3DTester::DrawTile(const D3DTestImage& image, float x, float y, int tileX, int tileY, uint32_t color)
{
    UploadTile(image, tileX, tileY);
    D3DVertex vertices[4] = {
        MakeD3DVertex(x - 0.5f, y - 0.5f, color, 0.0f, 0.0f),
        MakeD3DVertex(x - 0.5f, y + 63.5f, color, 0.0f, 1.0f),
        MakeD3DVertex(x + 63.5f, y - 0.5f, color, 1.0f, 0.0f),
        MakeD3DVertex(x + 63.5f, y + 63.5f, color, 1.0f, 1.0f),
    };
    DXError(mD3DDevice->SetTexture(0, mTextureSurface1), "SetTexture theTexture");
    DXError(mD3DDevice->DrawPrimitive(D3DPT_TRIANGLESTRIP, kD3DVertexFormat, vertices, 4, D3DDP_WAIT),
            "DrawPrimitive");
    DXError(mD3DDevice->SetTexture(0, nullptr), "SetTexture NULL");
}

void D3DTester::UploadTile(const D3DTestImage& image, int tileX, int tileY)
{
    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);
    DXError(mTextureSurface1->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr), "Lock Texture");
    auto* pixels = static_cast<uint8_t*>(desc.lpSurface);
    const int width = std::min({kTileSize, image.mWidth - tileX, static_cast<int>(desc.dwWidth)});
    const int height = std::min({kTileSize, image.mHeight - tileY, static_cast<int>(desc.dwHeight)});
    // A part tile leaves the rest of the texture transparent black.
    if (width < kTileSize || height < kTileSize)
        std::memset(pixels, 0, static_cast<size_t>(desc.lPitch) * desc.dwHeight);
    for (int row = 0; row < height; ++row) {
        const uint32_t* source = &image.mBits[static_cast<size_t>(tileY + row) * image.mWidth + tileX];
        uint8_t* target = pixels + static_cast<ptrdiff_t>(row) * desc.lPitch;
        if (gUse32BitTestTextures)
            UploadTile32(source, width, target);
        else
            UploadTile4444(source, width, target);
    }
    DXError(mTextureSurface1->Unlock(nullptr), "Texture Unlock");
}

void D3DTester::CopyPrimary()
{
    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);
    DXError(mPrimarySurface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), "CopyPrimary Lock");
    const DDPIXELFORMAT& format = desc.ddpfPixelFormat;
    const uint32_t bits = format.dwRGBBitCount;
    if (bits != 32 && bits != 16) {
        mPrimarySurface->Unlock(nullptr);
        throw TestException(bits == 24 ? "Can't test 24-bit mode." : "Invalid Color Depth");
    }
    const int width = std::min(mTestImage.mWidth, static_cast<int>(desc.dwWidth));
    const int height = std::min(mTestImage.mHeight, static_cast<int>(desc.dwHeight));
    const auto* row = static_cast<const uint8_t*>(desc.lpSurface);
    for (int y = 0; y < height; ++y, row += desc.lPitch) {
        for (int x = 0; x < width; ++x) {
            uint32_t pixel;
            if (bits == 32) {
                std::memcpy(&pixel, row + 4 * x, sizeof(pixel));
            } else {
                uint16_t word;
                std::memcpy(&word, row + 2 * x, sizeof(word));
                pixel = word;
            }
            mTestImage.SetPixel(x, y, ConvertSurfacePixel(pixel, format.dwRBitMask, format.dwGBitMask,
                                                          format.dwBBitMask));
        }
    }
    mPrimarySurface->Unlock(nullptr);
}

} // namespace Tandry
