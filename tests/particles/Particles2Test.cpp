#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "graphics/context/Graphics.h"
#include "graphics/context/RecordingImage.h"
#include "particles/CreateParticles.h"
#include "particles/ParticleEffectFiles.h"
#include "particles/ParticleTestSupport.h"
#include "particles/Particles2.h"
#include "platform/fs/ScratchFolder.h"
#include "platform/particlelib/ParticleLibrary.h"

namespace {

using namespace Tandry;
using namespace Platform;

std::string Emitter(const std::string& name, const std::string& textures, const std::string& extra = "")
{
    return "emitter " + name + "\n" + extra + "type\ntextures " + textures +
           "\nrate 100\nlifetime 5000 5000\nsize 8 8\nend\nend\n";
}

bool Near(uint32_t a, uint32_t b, int tolerance)
{
    for (int shift = 0; shift < 32; shift += 8) {
        const int d = static_cast<int>(a >> shift & 255u) - static_cast<int>(b >> shift & 255u);
        if (d > tolerance || d < -tolerance)
            return false;
    }
    return true;
}

const std::string kTextures = "PTC1\ntexture 1 disc 8 FFFF0000\ntexture 2 square 4 FF00FF00\n";

class Particles2Test : public TandryTest::ParticleTest {
protected:
    void SetUp() override
    {
        ParticleTest::SetUp();
        ResetParticleLibrary();
        // b.ptc is second in sorted order; c.ptc lacks the magic.
        TestSupport::WriteFile(mFolder / "res/A.ptc",
                               kTextures + Emitter("one", "1") + Emitter("onetwo", "1 2") + Emitter("twoone", "2 1") +
                                   Emitter("more", "1 2") + Emitter("glow", "1", "position 10 20\n") +
                                   "folder f\n" + Emitter("inner", "2") + "folder g\n" + Emitter("deeper", "1") +
                                   "end\nend\nfolder empty\nend\n" +
                                   Emitter("bright", "1", "duration endless\n") +
                                   Emitter("looped", "1", "duration 100\n"));
        TestSupport::WriteFile(mFolder / "res/b.ptc", kTextures + Emitter("secondonly", "1"));
        TestSupport::WriteFile(mFolder / "res/c.ptc", "not an effects file\n");
        TestSupport::WriteFile(mFolder / "res/notes.txt", "PTC1\n");
        LoadParticleEffectFiles();
    }

    void TearDown() override
    {
        FreeParticleEffectFiles();
        ResetParticleLibrary();
        ParticleTest::TearDown();
    }


    static std::vector<uint32_t> Pixels(MemoryImage& image)
    {
        const uint32_t* bits = image.GetBits();
        return std::vector<uint32_t>(bits, bits + static_cast<size_t>(image.mWidth) * image.mHeight);
    }

    static std::unique_ptr<MemoryImage> Grey()
    {
        auto canvas = TandryTest::MakeCanvas(64, 64);
        canvas->FillRect(Rect(0, 0, 64, 64), Color(0x40, 0x40, 0x40, 255), DRAWMODE_NORMAL);
        return canvas;
    }

    TestSupport::ScratchFolder mFolder{TestSupport::ScratchFolder::Enter};
};

TEST_F(Particles2Test, LoadsEveryEffectsFileInSortedOrderIntoGroups)
{
    const auto& files = ParticleEffectFiles();
    ASSERT_EQ(files.size(), 2u);
    // A.ptc: seven root emitters and the folder f (with its sub-folder);
    // the empty folder makes no group.
    ASSERT_EQ(files[0]->Groups().size(), 8u);
    EXPECT_EQ(files[0]->Groups()[5]->Emitters().size(), 2u);
    EXPECT_EQ(files[1]->Groups().size(), 1u);
    EXPECT_NE(ParticleTextureManager(), nullptr);

    // Names come from the first file only.
    Particles2 first("inner");
    EXPECT_NE(first.Emitter(), 0);
    Particles2 second("secondonly");
    EXPECT_EQ(second.Emitter(), 0);
}

TEST_F(Particles2Test, NameOnlyInTheSecondFileFinishesAtItsFirstUpdate)
{
    std::unique_ptr<ParticlesCommon> effect(CreateParticles("secondonly"));
    ASSERT_FALSE(effect->IsOwnEngine());
    effect->StartAt(At(32, 32));
    EXPECT_FALSE(effect->IsFinished());
    effect->Update(0.01f);
    EXPECT_TRUE(effect->IsFinished());
    auto canvas = Grey();
    const std::vector<uint32_t> before = Pixels(*canvas);
    Graphics g(canvas.get());
    effect->Draw(&g);
    EXPECT_EQ(Pixels(*canvas), before);
}

TEST_F(Particles2Test, NothingReachesTheLibraryBeforeTheStart)
{
    Particles2 effect("one");
    StartParticleLibraryCallLog();
    effect.Update(0.01f);
    auto canvas = Grey();
    Graphics g(canvas.get());
    effect.Draw(&g);
    EXPECT_TRUE(ParticleLibraryCallLog().empty());
    effect.Restart();
    effect.Update(0.01f);
    EXPECT_EQ(ParticleLibraryCallLog(),
              (std::vector<std::string>{"Magic_IsInterpolationMode", "Magic_GetUpdateTime", "Magic_Update"}));
}

TEST_F(Particles2Test, LoopingAndSeekingReachTheEmitter)
{
    Particles2 effect("looped");
    effect.SetLooping(true);
    EXPECT_EQ(Magic_GetLoopMode(effect.Emitter()), 2);
    effect.SetLooping(false);
    EXPECT_EQ(Magic_GetLoopMode(effect.Emitter()), 0);

    for (int i = 0; i < 5; ++i)
        Magic_Update(effect.Emitter(), 10);
    StartParticleLibraryCallLog();
    effect.SeekTime(0.5f);
    EXPECT_EQ(ParticleLibraryCallLog(), (std::vector<std::string>{"Magic_SetPosition", "Magic_Update"}));
    // Rewound, then 500 ms of which 100 emit at 100 per second.
    Magic_LockParticlesType(effect.Emitter(), 0);
    int n = 0;
    while (Magic_GetNextParticle())
        ++n;
    Magic_UnlockParticlesType();
    EXPECT_EQ(n, 10);
}

TEST_F(Particles2Test, UpdateStepIsTheEmittersFixedTimeUnlessInterpolating)
{
    TestSupport::WriteFile(mFolder / "res/A.ptc",
                           kTextures + Emitter("fixed", "1", "interpolation 0 40\n") +
                               Emitter("smooth", "1", "interpolation 1 40\n"));
    FreeParticleEffectFiles();
    LoadParticleEffectFiles();
    auto births = [](const char* name) {
        Particles2 effect(name);
        effect.Restart();
        effect.Update(0.05f);
        Magic_LockParticlesType(effect.Emitter(), 0);
        int n = 0;
        while (Magic_GetNextParticle())
            ++n;
        Magic_UnlockParticlesType();
        return n;
    };
    EXPECT_EQ(births("fixed"), 4);   // 40 ms
    EXPECT_EQ(births("smooth"), 5);  // 50 ms
}

TEST_F(Particles2Test, SameTextureOrderSharesAnAtlasEntry)
{
    auto canvas = Grey();
    Graphics g(canvas.get());
    auto draw = [&](const char* name) {
        Particles2 effect(name);
        effect.StartAt(At(32, 32));
        effect.Update(0.01f);
        effect.Draw(&g);
        Magic_LockParticlesType(effect.Emitter(), 0);
        const int id = Magic_GetTextureID();
        Magic_UnlockParticlesType();
        return id;
    };
    const int a = draw("onetwo");
    EXPECT_EQ(a, 1);
    EXPECT_EQ(draw("more"), a);
    EXPECT_EQ(ParticleTextureManager()->Count(), 1u);
    EXPECT_EQ(draw("twoone"), 2);
    EXPECT_EQ(draw("one"), 3);
    EXPECT_EQ(ParticleTextureManager()->Count(), 3u);

    // The atlas of 1, 2 holds the disc at 0 and the square at 8, with alpha.
    Image* atlas = ParticleTextureManager()->Atlas(1);
    ASSERT_NE(atlas, nullptr);
    EXPECT_EQ(atlas->mWidth, 12);
    EXPECT_EQ(atlas->mHeight, 8);
    auto* pixels = static_cast<MemoryImage*>(atlas);
    // The normal blit into a picture with alpha may round a channel down by one.
    EXPECT_PRED3(Near, pixels->GetPixel(4, 4), 0xFFFF0000u, 1);
    EXPECT_EQ(pixels->GetPixel(0, 0) >> 24, 0u);
    EXPECT_PRED3(Near, pixels->GetPixel(9, 1), 0xFF00FF00u, 1);
    EXPECT_EQ(pixels->GetPixel(9, 6) >> 24, 0u);
}

TEST_F(Particles2Test, DrawsTheParticleAtTheOriginPlusTheEmitterPosition)
{
    Particles2 effect("glow");
    effect.StartAt(At(20, 10));
    effect.Update(0.01f);
    auto canvas = Grey();
    Graphics g(canvas.get());
    effect.Draw(&g);
    // The one particle sits at (20 + 10, 10 + 20): the red disc of 8 px.
    EXPECT_EQ(canvas->GetPixel(30, 30), 0xFFFF0000u);
    EXPECT_EQ(canvas->GetPixel(36, 30), 0xFF404040u);
    EXPECT_EQ(canvas->GetPixel(30, 36), 0xFF404040u);
    // The context's state comes back.
    EXPECT_FALSE(g.mColorizeImages);
    EXPECT_EQ(g.mDrawMode, DRAWMODE_NORMAL);
}

TEST_F(Particles2Test, MovingWithoutParticlesKeepsTheirPicture)
{
    Particles2 effect("bright");
    effect.StartAt(At(20, 20));
    for (int i = 0; i < 5; ++i)
        effect.Update(0.01f);
    auto before = Grey();
    Graphics g1(before.get());
    effect.Draw(&g1);

    effect.SetPosition(At(40, 30), false);
    auto after = Grey();
    Graphics g2(after.get());
    effect.Draw(&g2);
    EXPECT_EQ(Pixels(*after), Pixels(*before));

    // With the particles, the picture moves.
    effect.SetPosition(At(10, 10), true);
    auto moved = Grey();
    Graphics g3(moved.get());
    effect.Draw(&g3);
    EXPECT_NE(Pixels(*moved), Pixels(*before));
    EXPECT_EQ(moved->GetPixel(0, 0), 0xFF404040u);
}

TEST_F(Particles2Test, IntensiveTypeDrawsAdditively)
{
    TestSupport::WriteFile(mFolder / "res/A.ptc",
                           kTextures + Emitter("plain", "2") +
                               Emitter("added", "2").insert(std::string("emitter added\ntype\n").size(),
                                                           "intensive 1\n"));
    FreeParticleEffectFiles();
    LoadParticleEffectFiles();
    for (const char* name : {"plain", "added"}) {
        Particles2 effect(name);
        effect.StartAt(At(32, 32));
        effect.Update(0.01f);
        RecordingImage dest(64, 64);
        Graphics g(&dest);
        g.SetDrawMode(DRAWMODE_NORMAL);
        effect.Draw(&g);
        ASSERT_EQ(dest.calls.size(), 1u) << name;
        EXPECT_EQ(dest.calls[0].drawMode, std::string(name) == "added" ? DRAWMODE_ADDITIVE : DRAWMODE_NORMAL)
            << name;
        EXPECT_EQ(dest.calls[0].clip, Rect(0, 0, 64, 64));
        EXPECT_EQ(g.mDrawMode, DRAWMODE_NORMAL);
    }
}

TEST_F(Particles2Test, BaseColourTintsTheParticles)
{
    Particles2 effect("one");
    effect.StartAt(At(32, 32));
    effect.Update(0.01f);
    RecordingImage dest(64, 64);
    Graphics g(&dest);
    g.SetColorizeImages(true);
    g.SetColor(Color(128, 255, 300, 51));
    effect.Draw(&g);
    ASSERT_EQ(dest.calls.size(), 1u);
    EXPECT_EQ(dest.calls[0].color, Color(128, 255, 255, 51));
    EXPECT_EQ(g.mColor, Color(128, 255, 300, 51));
}

TEST_F(Particles2Test, TypeWithMoreTexturesThanTheTableDrawsSafely)
{
    std::string text = "PTC1\n";
    std::string ids;
    for (int i = 1; i <= 60; ++i) {
        text += "texture " + std::to_string(i) + " square 2 FF" + (i > 50 ? "0000FF" : "00FF00") + "\n";
        ids += " " + std::to_string(i);
    }
    text += "emitter many\ntype\ntextures" + ids + "\nrate 1000\nlifetime 1000 1000\nsize 2 2\nend\nend\n";
    TestSupport::WriteFile(mFolder / "res/A.ptc", text);
    FreeParticleEffectFiles();
    LoadParticleEffectFiles();

    Particles2 effect("many");
    effect.StartAt(At(32, 32));
    auto canvas = Grey();
    Graphics g(canvas.get());
    // Over its life each particle shows all 60 frames; 10 of them are not in the table.
    for (int i = 0; i < 99; ++i)
        effect.Update(0.01f);
    effect.Draw(&g);
    EXPECT_EQ(ParticleTextureManager()->Count(), 1u);
    EXPECT_EQ(ParticleTextureManager()->Atlas(1)->mWidth, 100);
    const std::vector<uint32_t> pixels = Pixels(*canvas);
    EXPECT_EQ(std::count_if(pixels.begin(), pixels.end(), [](uint32_t p) { return Near(p, 0xFF0000FFu, 2); }), 0);
    EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), [](uint32_t p) { return Near(p, 0xFF00FF00u, 2); }), 0);
}

TEST_F(Particles2Test, CloneOfAWrappedEffectIsAnIndependentDuplicate)
{
    std::unique_ptr<ParticlesCommon> effect(CreateParticles("one"));
    effect->StartAt(At(5, 5));
    effect->Update(0.01f);
    std::unique_ptr<ParticlesCommon> copy(CloneParticles(effect.get()));
    ASSERT_FALSE(copy->IsOwnEngine());
    const int emitter = static_cast<Particles2*>(copy.get())->Emitter();
    EXPECT_NE(emitter, 0);
    EXPECT_NE(emitter, static_cast<Particles2*>(effect.get())->Emitter());
    StartParticleLibraryCallLog();
    copy->Update(0.01f);
    EXPECT_TRUE(ParticleLibraryCallLog().empty()) << "a copy is not started";
    // Deleting the effects unloads their emitters.
    copy.reset();
    EXPECT_EQ(Magic_GetParticlesTypeCount(emitter), 0);
}

TEST_F(Particles2Test, CreateTriesTheOwnEngineFirst)
{
    uint8_t block[ParticleParams::kSize];
    TandryTest::StillParams(100).ToBytes(block);
    TestSupport::WriteFile(mFolder / "data/particles/one", std::string(reinterpret_cast<char*>(block), 128));
    std::unique_ptr<ParticlesCommon> own(CreateParticles("one"));
    ASSERT_TRUE(own->IsOwnEngine());
    own->StartAt(At(3, 4));
    own->Update(0.01f);
    std::unique_ptr<ParticlesCommon> copy(CloneParticles(own.get()));
    ASSERT_TRUE(copy->IsOwnEngine());
    auto* c = static_cast<Particles*>(copy.get());
    EXPECT_EQ(c->Params().rate, 100);
    EXPECT_EQ(c->GetImage(), mSheet.get());
    EXPECT_FALSE(c->IsEmitting());
    EXPECT_EQ(c->LiveCount(), 0);
    copy->Update(0.01f);
    EXPECT_EQ(c->LiveCount(), 0);
    EXPECT_EQ(CloneParticles(nullptr), nullptr);
}

TEST_F(Particles2Test, WithoutEffectsFilesEveryEffectIsEmpty)
{
    FreeParticleEffectFiles();
    EXPECT_EQ(ParticleTextureManager(), nullptr);
    Particles2 effect("one");
    EXPECT_EQ(effect.Emitter(), 0);
    effect.StartAt(At(1, 1));
    effect.Update(0.01f);
    EXPECT_TRUE(effect.IsFinished());
}

} // namespace
