// Drives a memory image through random sequences of its management operations
// on small pictures of arbitrary pixels, checking after each step what must
// hold whatever the order: the picture is the one last given, or what the
// display-format data turns it into; a palette gives back its pixels exactly;
// run tables count down inside a run and stop at the row's end; copies see
// the same picture.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "graphics/display/DisplayFormatConverter.h"
#include "graphics/display/NativeDisplay.h"
#include "graphics/image/MemoryImage.h"
#include "tests/graphics/image/FakeImageHost.h"

namespace {

using Tandry::MemoryImage;
using Tandry::NativeDisplay;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

class Input {
public:
    Input(const uint8_t* data, size_t size) : mData(data), mSize(size) {}
    bool Empty() const { return mPos >= mSize; }
    uint8_t Byte() { return mPos < mSize ? mData[mPos++] : 0; }
    uint32_t Word()
    {
        uint32_t w = 0;
        for (int i = 0; i < 4; ++i)
            w = w << 8 | Byte();
        return w;
    }

private:
    const uint8_t* mData;
    size_t mSize;
    size_t mPos = 0;
};

NativeDisplay MakeDisplay(int index)
{
    NativeDisplay d;
    switch (index % 4) {
    case 0: d = NativeDisplay::Argb8888(); break;
    case 1: d.SetPixelFormat(16, 0xF800, 0x7E0, 0x1F); break;
    case 2: d.SetPixelFormat(16, 0x7C00, 0x3E0, 0x1F); break;
    default: d.SetPixelFormat(16, 0x1F, 0x7E0, 0xF800); break;
    }
    return d;
}

// Pixels drawn either freely or from a few colours, so that both sides of the
// 256-colour limit and long runs occur.
std::vector<uint32_t> MakePixels(Input& in, int width, int height)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    const uint8_t mode = in.Byte();
    if (mode & 1) {
        for (uint32_t& p : pixels)
            p = in.Word();
    } else {
        std::vector<uint32_t> colours(1 + mode % 8);
        for (uint32_t& c : colours)
            c = in.Word();
        for (uint32_t& p : pixels)
            p = colours[in.Byte() % colours.size()];
    }
    return pixels;
}

int AlphaClass(uint32_t argb)
{
    const uint32_t a = argb >> 24;
    return a == 0 ? 0 : a == 255 ? 1 : 2;
}

// Classes are compared only for a table built just now: a kept table may
// predate a lossy rebuild of the picture it was coded from.
template <class ClassOf>
void CheckRuns(const uint8_t* runs, int width, int height, bool fresh, ClassOf classOf)
{
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const size_t i = static_cast<size_t>(y) * width + x;
            const int b = runs[i];
            Check(b >= 1 && x + b <= width);
            if (x + 1 < width) {
                const int next = runs[i + 1];
                if (b > 1)
                    Check(b == 255 ? next == 255 || next == 254 : next == b - 1);
                if (fresh)
                    Check((b == 1) == (classOf(i) != classOf(i + 1)));
            }
        }
    }
}

// The image under test beside what its picture must be.
class Harness {
public:
    Harness(Input& in) : mIn(in)
    {
        mHost.recordCalls = false;
        mHost.format = MakeDisplay(in.Byte());
        mImage = std::make_unique<MemoryImage>(&mHost);
        mWidth = in.Byte() % 17;
        mHeight = in.Byte() % 17;
        SetBits();
    }

    ~Harness()
    {
        mImage.reset();
        Check(mHost.images.empty());
    }

    void Step()
    {
        MemoryImage& image = *mImage;
        switch (mIn.Byte() % 18) {
        case 0:
            if (mIn.Byte() & 1) {
                mWidth = mIn.Byte() % 17;
                mHeight = mIn.Byte() % 17;
            }
            SetBits();
            break;
        case 1: ScanAlpha(); break;
        case 2: Palletize(); break;
        case 3: Observe(); break;
        case 4: AlphaRuns(); break;
        case 5: AdditiveRuns(); break;
        case 6: image.GetDisplayFormatData(&mHost.format); break;
        case 7: image.DiscardBits(); break;
        case 8: image.FreeSoftwareCaches(); break;
        case 9:
            // Changes are made through the pixels (or, by the display layer,
            // beside a palette); the call on its own would drop the picture.
            if (!image.mBits && !image.mColorIndices)
                Observe();
            image.MarkBitsChanged();
            break;
        case 10: Copy(); break;
        case 11:
            // As the application does when the display changes.
            Observe();
            image.FreeDisplayFormatData();
            mHost.format = MakeDisplay(mIn.Byte());
            break;
        case 12: mHost.is3D = !mHost.is3D; break;
        case 13:
            if (!image.mTextureData) {
                image.mTextureData = TandryTest::FakeTextures();
            } else if (mIn.Byte() & 1) {
                image.FreeDerivedData();
            } else {
                // Dropping the textures on their own is for pictures held elsewhere too.
                if (!image.mBits && !image.mColorIndices && !image.mNativeAlpha)
                    Observe();
                image.FreeTextures();
            }
            break;
        case 14:
            mWidth = mIn.Byte() % 17;
            mHeight = mIn.Byte() % 17;
            image.Create(mWidth, mHeight);
            Expect(std::vector<uint32_t>(static_cast<size_t>(mWidth) * mHeight, 0));
            break;
        case 15: image.FreeDisplayFormatData(); break;
        case 16:
            image.Clear();
            Expect(std::vector<uint32_t>(static_cast<size_t>(mWidth) * mHeight, 0));
            break;
        default:
            image.mWantPalette = mIn.Byte() & 1;
            image.mWantDiscard = mIn.Byte() & 1;
            image.ApplyPendingConversions();
            break;
        }
    }

private:
    void SetBits()
    {
        Expect(MakePixels(mIn, mWidth, mHeight));
        mImage->SetBits(mExpected.data(), mWidth, mHeight, mIn.Byte() & 1);
        Check(mImage->mColorIndices == nullptr);
        Observe();
    }

    // A picture given whole replaces whatever textures were read back before.
    void Expect(std::vector<uint32_t> pixels)
    {
        mExpected = std::move(pixels);
        mReadBacks = mHost.readBacks;
    }

    // Whether p is v after some number of trips through the display format.
    bool Reachable(uint32_t v, uint32_t p) const
    {
        const Tandry::DisplayFormatConverter converter(mHost.format);
        for (int trip = 0; trip < 300; ++trip) {
            if (v == p)
                return true;
            const uint32_t next = converter.FromDisplay(converter.ToDisplay(v));
            if (next == v)
                return false;
            v = next;
        }
        return false;
    }

    // Rebuilds the pixels and checks them against the model.
    std::vector<uint32_t> Observe()
    {
        const uint32_t* bits = mImage->GetBits();
        const size_t count = static_cast<size_t>(mWidth) * mHeight;
        Check(mImage->mWidth == mWidth && mImage->mHeight == mHeight);
        Check(bits[count] == MemoryImage::kBitsMarker);
        std::vector<uint32_t> pixels(bits, bits + count);
        const bool readBack = mHost.readBacks != mReadBacks;
        mReadBacks = mHost.readBacks;
        for (size_t i = 0; i < count; ++i)
            Check(Reachable(readBack ? mHost.readBackPixel : mExpected[i], pixels[i]));
        mExpected = pixels;
        return pixels;
    }

    void ScanAlpha()
    {
        if (mImage->mForced)
            return;
        const std::vector<uint32_t> pixels = Observe();
        mImage->MarkBitsChanged();
        mImage->ScanAlpha();
        bool trans = false, partial = false;
        for (uint32_t p : pixels) {
            trans |= (p >> 24) == 0;
            partial |= (p >> 24) != 0 && (p >> 24) != 255;
        }
        Check(mImage->mHasTrans == trans && mImage->mHasAlpha == partial);
    }

    void Palletize()
    {
        const std::vector<uint32_t> before = Observe();
        const std::set<uint32_t> distinct(before.begin(), before.end());
        const bool ok = mImage->Palletize();
        Check(ok == (distinct.size() <= 256));
        Check(mImage->mWantPalette == ok);
        if (!ok) {
            Check(mImage->mBits != nullptr && mImage->mColorIndices == nullptr);
            return;
        }
        Check(mImage->mBits == nullptr && mImage->mNativeAlpha == nullptr);
        for (size_t i = 0; i < before.size(); ++i)
            Check(mImage->mColorTable[mImage->mColorIndices[i]] == before[i]);
        for (size_t c = distinct.size(); c < 256; ++c)
            Check(mImage->mColorTable[c] == 0xFF000000);
    }

    void AlphaRuns()
    {
        const bool fresh = mImage->mRLAlpha == nullptr;
        const uint8_t* runs = mImage->GetAlphaRunTable();
        const std::vector<uint8_t> kept(runs, runs + static_cast<size_t>(mWidth) * mHeight);
        const std::vector<uint32_t> pixels = Observe();
        CheckRuns(kept.data(), mWidth, mHeight, fresh, [&](size_t i) { return AlphaClass(pixels[i]); });
    }

    void AdditiveRuns()
    {
        const bool fresh = mImage->mRLAdditive == nullptr;
        const uint8_t* runs = mImage->GetAdditiveRunTable(&mHost.format);
        const uint32_t* words = mImage->GetDisplayFormatData(&mHost.format);
        const uint8_t* indices = mImage->mColorIndices.get();
        CheckRuns(runs, mWidth, mHeight, fresh,
                  [&](size_t i) { return ((indices ? words[indices[i]] : words[i]) & 0xFFFFFF) != 0; });
    }

    void Copy()
    {
        auto copy = std::make_unique<MemoryImage>(*mImage);
        const uint32_t* copied = copy->GetBits();
        const std::vector<uint32_t> pixels(copied, copied + static_cast<size_t>(mWidth) * mHeight);
        Check(Observe() == pixels);
        if (mIn.Byte() & 1)
            mImage = std::move(copy);
    }

    Input& mIn;
    TandryTest::FakeImageHost mHost;
    std::unique_ptr<MemoryImage> mImage;
    int mWidth = 0;
    int mHeight = 0;
    std::vector<uint32_t> mExpected;
    int mReadBacks = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in(data, size);
    Harness harness(in);
    for (int step = 0; step < 64 && !in.Empty(); ++step)
        harness.Step();
    return 0;
}
