// Runs random sequences of state changes and drawing calls of a drawing
// context against a recording destination, and checks after every call that
// whatever reaches the destination stays inside it: rectangles that arrive
// clipped, clip rectangles, spans and line end points; and that every source
// rectangle lies inside its source image.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/context/Graphics.h"
#include "graphics/types/Transform.h"
#include "tests/fuzz/FuzzBytes.h"
#include "tests/graphics/context/RecordingImage.h"

namespace {

using namespace Tandry;

bool Inside(const Rect& r, int width, int height)
{
    return r.x >= 0 && r.y >= 0 && r.width >= 0 && r.height >= 0 && static_cast<int64_t>(r.x) + r.width <= width &&
           static_cast<int64_t>(r.y) + r.height <= height;
}

bool SourceInside(const SlotCall& call)
{
    return call.src != nullptr && Inside(call.srcRect, call.src->mWidth, call.src->mHeight);
}

bool PointInside(double x, double y, int width, int height)
{
    return x >= 0.0 && x < width && y >= 0.0 && y < height;
}

void CheckCall(const SlotCall& call, int width, int height)
{
    if (call.hasClip)
        FuzzCheck(Inside(call.clip, width, height));
    switch (call.slot) {
    case Slot::FillRect:
    case Slot::ClearRect:
        FuzzCheck(Inside(call.rect, width, height));
        break;
    case Slot::DrawRect:
        FuzzCheck(Inside(Rect(call.rect.x, call.rect.y, call.rect.width + 1, call.rect.height + 1), width, height));
        break;
    case Slot::DrawLine:
    case Slot::DrawLineAA:
        FuzzCheck(PointInside(call.line[0], call.line[1], width, height));
        FuzzCheck(PointInside(call.line[2], call.line[3], width, height));
        break;
    case Slot::FillScanLines:
    case Slot::FillScanLinesWithCoverage:
        for (const Span& s : call.spans)
            FuzzCheck(s.width > 0 && Inside(Rect(s.x, s.y, s.width, 1), width, height));
        break;
    case Slot::Blt:
    case Slot::BltMirror:
        FuzzCheck(SourceInside(call));
        FuzzCheck(call.srcRect.width > 0 && call.srcRect.height > 0);
        FuzzCheck(Inside(Rect(call.x, call.y, call.srcRect.width, call.srcRect.height), width, height));
        break;
    case Slot::BltF:
    case Slot::BltRotated:
    case Slot::StretchBlt:
    case Slot::StretchBltMirror:
    case Slot::BltMatrix:
        FuzzCheck(SourceInside(call));
        break;
    case Slot::BltTrianglesTex:
    case Slot::PolyFill3D:
        break;
    }
}

Rect RandomRect(FuzzBytes& in, int lo, int hi)
{
    const int x = in.Range(lo, hi);
    const int y = in.Range(lo, hi);
    return Rect(x, y, in.Range(-4, hi), in.Range(-4, hi));
}

// A source rectangle near the image, often inside it, sometimes not.
Rect RandomSource(FuzzBytes& in, const Image& image)
{
    if (in.Bool())
        return Rect(0, 0, image.mWidth, image.mHeight);
    return Rect(in.Range(-2, image.mWidth + 2), in.Range(-2, image.mHeight + 2), in.Range(-2, image.mWidth + 2),
                in.Range(-2, image.mHeight + 2));
}

Transform RandomTransform(FuzzBytes& in)
{
    Transform t;
    const int steps = in.Range(0, 4);
    for (int i = 0; i < steps; ++i) {
        switch (in.Byte() % 4) {
        case 0:
            t.Translate(in.Float(-50, 50), in.Float(-50, 50));
            break;
        case 1:
            t.Rotate(in.Float(-7, 7));
            break;
        case 2:
            t.Scale(in.Float(-3, 3), in.Float(-3, 3));
            break;
        default:
            t.Scale(-1.0f, 1.0f);
            break;
        }
    }
    return t;
}

void RunOne(FuzzBytes& in, Graphics& g, RecordingImage* const sources[3])
{
    Image* const image = sources[in.Byte() % 3];
    switch (in.Byte() % 26) {
    case 0:
        g.Translate(in.Range(-300, 300), in.Range(-300, 300));
        break;
    case 1:
        g.mTransX = in.Float(-300, 300);
        g.mTransY = in.Float(-300, 300);
        break;
    case 2:
        g.SetScale(in.Float(-3, 3), in.Float(-3, 3), in.Float(-300, 300), in.Float(-300, 300));
        break;
    case 3:
        g.SetClipRect(RandomRect(in, -300, 300));
        break;
    case 4: {
        const Rect r = RandomRect(in, -300, 300);
        g.ClipRect(r.x, r.y, r.width, r.height);
        break;
    }
    case 5:
        g.SetPopInEffect(in.Float(-2, 2), in.Range(-10, 300), in.Range(-10, 300));
        break;
    case 6:
        g.PushState();
        break;
    case 7:
        g.PopState();
        break;
    case 8:
        g.SetColor(Color(in.Byte(), in.Byte(), in.Byte(), in.Byte() % 3 == 0 ? 0 : 255));
        g.SetDrawMode(in.Byte() % 2);
        g.SetColorizeImages(in.Bool());
        g.SetFastStretch(in.Bool());
        g.SetLinearBlend(in.Bool());
        break;
    case 9:
        g.mIs3DScreen = in.Bool();
        break;
    case 10:
        g.FillRect(RandomRect(in, -300, 300));
        break;
    case 11:
        g.ClearRect(RandomRect(in, -300, 300));
        break;
    case 12:
        g.DrawRect(RandomRect(in, -300, 300));
        break;
    case 13:
        g.DrawLine(in.Range(-400, 400), in.Range(-400, 400), in.Range(-400, 400), in.Range(-400, 400));
        break;
    case 14: {
        std::vector<Point> points(static_cast<size_t>(in.Range(0, 12)));
        for (Point& p : points)
            p = Point(in.Range(-300, 300), in.Range(-300, 300));
        g.PolyFill(points.data(), static_cast<int>(points.size()));
        break;
    }
    case 15:
        g.DrawImage(image, in.Range(-300, 300), in.Range(-300, 300));
        break;
    case 16:
        g.DrawImagePart(image, in.Range(-300, 300), in.Range(-300, 300), RandomSource(in, *image));
        break;
    case 17:
        g.DrawImagePartF(image, in.Float(-300, 300), in.Float(-300, 300), RandomSource(in, *image));
        break;
    case 18:
        g.DrawImageMirrorPart(image, in.Range(-300, 300), in.Range(-300, 300), RandomSource(in, *image));
        break;
    case 19:
        g.DrawImageStretchedMirror(image, RandomRect(in, -300, 300), RandomSource(in, *image), in.Bool());
        break;
    case 20: {
        const Rect src = RandomSource(in, *image);
        g.DrawImageRotated(image, in.Float(-300, 300), in.Float(-300, 300), in.Float(-50, 50), in.Float(-50, 50),
                           in.Bool() ? &src : nullptr, in.Float(-7, 7));
        break;
    }
    case 21: {
        TriVertex triangle[1][3];
        for (TriVertex& v : triangle[0]) {
            v.x = in.Float(-300, 300);
            v.y = in.Float(-300, 300);
        }
        g.DrawTrianglesTex(image, triangle, 1);
        break;
    }
    case 22: {
        const Rect dest(in.Range(-100, 300), in.Range(-100, 300), in.Range(-4, 200), in.Range(-4, 200));
        if (in.Bool())
            g.DrawImageBox(dest, image);
        else
            g.DrawImageBoxPart(dest, RandomSource(in, *image), image);
        break;
    }
    case 23: {
        const Transform t = RandomTransform(in);
        g.DrawImageTransformedPart(image, t, RandomSource(in, *image), in.Float(-300, 300), in.Float(-300, 300),
                                   in.Bool());
        break;
    }
    case 24: {
        // Copies carry the state without the stack and draw just the same.
        const std::unique_ptr<Graphics> copy(g.Clone());
        copy->PopState();
        copy->DrawImage(image, in.Range(-300, 300), in.Range(-300, 300));
        copy->FillRect(RandomRect(in, -300, 300));
        break;
    }
    default: {
        const Transform t = RandomTransform(in);
        if (in.Bool())
            g.DrawImageMatrix(image, t, in.Float(-300, 300), in.Float(-300, 300));
        else
            g.DrawImageTransformed(image, t, in.Float(-300, 300), in.Float(-300, 300));
        break;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzBytes in(data, size);
    RecordingImage dest(in.Range(0, 300), in.Range(0, 300));
    RecordingImage small(in.Range(0, 12), in.Range(0, 12));
    RecordingImage medium(in.Range(1, 40), in.Range(1, 40));
    RecordingImage empty(0, 0);
    RecordingImage* const sources[3] = {&small, &medium, &empty};
    Graphics g(in.Bool() ? &dest : nullptr);

    for (int ops = 0; ops < 400 && !in.Empty(); ++ops) {
        RunOne(in, g, sources);
        FuzzCheck(Inside(g.mClipRect, g.mDestImage->mWidth, g.mDestImage->mHeight));
        for (const SlotCall& call : dest.calls)
            CheckCall(call, dest.mWidth, dest.mHeight);
        dest.calls.clear();
    }
    return 0;
}
