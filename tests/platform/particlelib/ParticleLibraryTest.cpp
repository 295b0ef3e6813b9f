#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/fs/ScratchFolder.h"
#include "platform/particlelib/ParticleLibrary.h"

namespace {

using namespace Platform;

const char* const kFile = R"(PTC1
texture 1 disc 8 FFFF0000
texture 2 square 4 8000FF00
texture 3 ring 16 FF0000FF
emitter burst
  position 100 50
  duration 200
  type
    textures 1 2 3
    rate 100
    lifetime 300 300
    speed 10 10
    direction 0 0
  end
end
folder fx
  folder inner
    emitter deep
      type
        textures 2
      end
    end
  end
  emitter burst
    duration 999
    type
      textures 1
    end
  end
  emitter other
    duration endless
    interpolation 1 40
    type
      textures 2 1
      intensive 1
    end
    type
      textures 3
    end
  end
end
folder empty
end
)";

class ParticleLibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetParticleLibrary();
        const std::string text = kFile;
        ASSERT_EQ(OpenParticleFileBytes("fixture", std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()),
                                        &mFile),
                  kMagicSuccess)
            << ParticleLibraryLastError();
    }
    void TearDown() override { ResetParticleLibrary(); }

    int Load(const std::string& name)
    {
        int e = 0;
        EXPECT_EQ(Magic_LoadEmitter(mFile, name, &e), kMagicSuccess) << name;
        return e;
    }

    static int Count(int emitter, int type)
    {
        int n = 0;
        Magic_LockParticlesType(emitter, type);
        while (Magic_GetNextParticle())
            ++n;
        Magic_UnlockParticlesType();
        return n;
    }

    std::vector<std::pair<std::string, uint32_t>> List(int mode)
    {
        std::vector<std::pair<std::string, uint32_t>> out;
        MagicFindData d;
        for (bool more = Magic_FindFirst(mFile, &d, mode); more; more = Magic_FindNext(mFile, &d))
            out.emplace_back(d.name, d.flags);
        return out;
    }

    int mFile = 0;
};

TEST_F(ParticleLibraryTest, ListsFoldersAndEmittersByMode)
{
    using L = std::vector<std::pair<std::string, uint32_t>>;
    EXPECT_EQ(List(kMagicFindAll), (L{{"burst", 4}, {"fx", 0}, {"empty", 0}}));
    EXPECT_EQ(List(kMagicFindEmitters), (L{{"burst", 4}}));
    EXPECT_EQ(List(kMagicFindFolders), (L{{"fx", 0}, {"empty", 0}}));

    EXPECT_EQ(Magic_SetCurrentFolder(mFile, "fx"), kMagicSuccess);
    EXPECT_EQ(List(kMagicFindAll), (L{{"inner", 0}, {"burst", 4}, {"other", 4}}));
    EXPECT_EQ(Magic_SetCurrentFolder(mFile, "inner"), kMagicSuccess);
    EXPECT_EQ(List(kMagicFindAll), (L{{"deep", 4}}));
    EXPECT_EQ(Magic_SetCurrentFolder(mFile, "nowhere"), kMagicError);
    EXPECT_EQ(Magic_SetCurrentFolder(mFile, "/"), kMagicSuccess);
    EXPECT_EQ(List(kMagicFindAll).size(), 3u);
}

TEST_F(ParticleLibraryTest, EachFolderKeepsItsPlaceInTheListing)
{
    MagicFindData d;
    ASSERT_TRUE(Magic_FindFirst(mFile, &d, kMagicFindAll));
    ASSERT_TRUE(Magic_FindNext(mFile, &d));
    EXPECT_EQ(d.name, "fx");
    Magic_SetCurrentFolder(mFile, "fx");
    EXPECT_EQ(List(kMagicFindAll).size(), 3u);
    Magic_SetCurrentFolder(mFile, "/");
    ASSERT_TRUE(Magic_FindNext(mFile, &d));
    EXPECT_EQ(d.name, "empty");
    EXPECT_FALSE(Magic_FindNext(mFile, &d));
}

TEST_F(ParticleLibraryTest, LoadFindsTheFirstOfTheNameAnywhere)
{
    const int burst = Load("burst");
    EXPECT_NE(burst, 0);
    float x = 0, y = 0;
    Magic_GetEmitterPosition(burst, &x, &y);
    EXPECT_EQ(x, 100.0f);
    EXPECT_EQ(y, 50.0f);
    // Found from the root although it lies two folders down.
    EXPECT_NE(Load("deep"), 0);

    int missing = 77;
    EXPECT_EQ(Magic_LoadEmitter(mFile, "missing", &missing), kMagicError);
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(Magic_LoadEmitter(12345, "burst", &missing), kMagicError);
    EXPECT_EQ(missing, 0);
}

TEST_F(ParticleLibraryTest, EmptyAndUnknownHandlesAreHarmless)
{
    for (int handle : {0, 9999, mFile}) {
        EXPECT_FALSE(Magic_Update(handle, 10));
        EXPECT_EQ(Magic_GetParticlesTypeCount(handle), 0);
        EXPECT_FALSE(Magic_IsInterpolationMode(handle));
        EXPECT_EQ(Magic_GetUpdateTime(handle), 10.0);
        Magic_SetPosition(handle, 0);
        Magic_SetInterrupt(handle, 1);
        Magic_SetLoopMode(handle, 2);
        float x = 5, y = 5;
        Magic_GetEmitterPosition(handle, &x, &y);
        EXPECT_EQ(x, 0.0f);
        int dup = 3;
        EXPECT_EQ(Magic_DuplicateEmitter(handle, &dup), kMagicError);
        EXPECT_EQ(dup, 0);
        EXPECT_EQ(Magic_LockParticlesType(handle, 0), kMagicError);
        EXPECT_EQ(Magic_GetTextureCount(), 0);
        EXPECT_EQ(Magic_GetTexture(0), nullptr);
        EXPECT_EQ(Magic_GetTextureID(), 0);
        Magic_SetTextureID(4);
        EXPECT_FALSE(Magic_IsIntensive());
        EXPECT_EQ(Magic_GetNextParticle(), nullptr);
        Magic_MoveParticle(1, 1);
        Magic_UnlockParticlesType();
        EXPECT_EQ(Magic_UnloadEmitter(handle), kMagicError);
    }
    int file = 5;
    EXPECT_EQ(Magic_OpenFile("no/such/file.ptc", &file), kMagicError);
    EXPECT_EQ(file, 0);
    EXPECT_EQ(Magic_CloseFile(0), kMagicError);
}

TEST_F(ParticleLibraryTest, NonLoopingEmitterEndsAfterItsDurationAndParticles)
{
    const int e = Load("burst");
    // 200 ms at 100 per second: 20 births, each living 300 ms.
    int updates = 0;
    while (Magic_Update(e, 10) && updates < 1000)
        ++updates;
    EXPECT_EQ(updates, 49);  // the last births (190 ms) die at 490 ms, in update 50
    EXPECT_EQ(Count(e, 0), 0);
    EXPECT_FALSE(Magic_Update(e, 10));
}

TEST_F(ParticleLibraryTest, EmissionFollowsRateAndDuration)
{
    const int e = Load("burst");
    for (int i = 0; i < 10; ++i)
        Magic_Update(e, 10);
    EXPECT_EQ(Count(e, 0), 10);
    for (int i = 0; i < 15; ++i)
        Magic_Update(e, 10);
    EXPECT_EQ(Count(e, 0), 20);
}

TEST_F(ParticleLibraryTest, InterruptEndsOnceTheParticlesDied)
{
    const int e = Load("other");
    EXPECT_TRUE(Magic_IsInterpolationMode(e));
    EXPECT_EQ(Magic_GetUpdateTime(e), 40.0);
    for (int i = 0; i < 50; ++i)
        ASSERT_TRUE(Magic_Update(e, 10));
    Magic_SetInterrupt(e, 1);
    int updates = 0;
    while (Magic_Update(e, 10) && updates < 1000)
        ++updates;
    EXPECT_LT(updates, 1000);
    EXPECT_EQ(Count(e, 0) + Count(e, 1), 0);

    // Rewinding clears the interrupt.
    Magic_SetPosition(e, 0);
    EXPECT_TRUE(Magic_Update(e, 10));
}

TEST_F(ParticleLibraryTest, LoopModeTwoNeverEndsAndOtherModesAreIgnored)
{
    const int e = Load("burst");
    Magic_SetLoopMode(e, 7);
    EXPECT_EQ(Magic_GetLoopMode(e), 0);
    Magic_SetLoopMode(e, 2);
    int births = 0;
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(Magic_Update(e, 10)) << i;
        births = Count(e, 0);
    }
    // Emission restarted at each end of the duration: 300 ms of particles live.
    EXPECT_EQ(births, 30);
    Magic_SetLoopMode(e, 0);
    EXPECT_EQ(Magic_GetLoopMode(e), 0);
}

TEST_F(ParticleLibraryTest, DuplicateIsIndependent)
{
    const int e = Load("burst");
    Magic_SetLoopMode(e, 2);
    Magic_LockParticlesType(e, 0);
    Magic_SetTextureID(6);
    Magic_UnlockParticlesType();
    for (int i = 0; i < 10; ++i)
        Magic_Update(e, 10);

    int d = 0;
    ASSERT_EQ(Magic_DuplicateEmitter(e, &d), kMagicSuccess);
    EXPECT_NE(d, e);
    EXPECT_EQ(Count(d, 0), 0);
    EXPECT_EQ(Magic_GetLoopMode(d), 2);
    Magic_LockParticlesType(d, 0);
    EXPECT_EQ(Magic_GetTextureID(), 6);
    Magic_SetTextureID(9);
    Magic_UnlockParticlesType();
    Magic_LockParticlesType(e, 0);
    EXPECT_EQ(Magic_GetTextureID(), 6);
    Magic_UnlockParticlesType();

    Magic_Update(d, 10);
    EXPECT_EQ(Count(e, 0), 10);
    EXPECT_EQ(Count(d, 0), 1);
    // Unloading the original leaves the duplicate working.
    Magic_UnloadEmitter(e);
    Magic_CloseFile(mFile);
    EXPECT_TRUE(Magic_Update(d, 10));
    EXPECT_EQ(Count(d, 0), 2);
}

TEST_F(ParticleLibraryTest, SameNameSameSimulation)
{
    auto run = [&] {
        const int e = Load("burst");
        std::vector<float> out;
        for (int i = 0; i < 15; ++i)
            Magic_Update(e, 10);
        Magic_LockParticlesType(e, 0);
        while (const MagicParticle* p = Magic_GetNextParticle()) {
            out.push_back(p->x);
            out.push_back(p->y);
            out.push_back(p->size);
            out.push_back(static_cast<float>(p->frame));
        }
        Magic_UnlockParticlesType();
        return out;
    };
    const std::vector<float> first = run();
    EXPECT_EQ(first.size(), 60u);
    EXPECT_EQ(first, run());
}

TEST_F(ParticleLibraryTest, ParticlesMoveFromTheEmitterAndCycleFrames)
{
    const int e = Load("burst");
    Magic_Update(e, 10);
    Magic_Update(e, 100);
    Magic_LockParticlesType(e, 0);
    const MagicParticle* p = Magic_GetNextParticle();
    ASSERT_NE(p, nullptr);
    // Born at the emitter (relative 0, 0), 100 ms at 10 px/s along +x.
    EXPECT_NEAR(p->x, 1.0f, 1e-4);
    EXPECT_NEAR(p->y, 0.0f, 1e-4);
    EXPECT_EQ(p->frame, 1);  // a third of its 300 ms: the second of three frames
    EXPECT_EQ(p->color, 0xFFFFFFFFu);
    Magic_UnlockParticlesType();
}

TEST_F(ParticleLibraryTest, MoveParticleMovesTheLastOneAndLockingRestartsTheWalk)
{
    const int e = Load("burst");
    for (int i = 0; i < 3; ++i)
        Magic_Update(e, 10);
    Magic_LockParticlesType(e, 0);
    std::vector<float> xs;
    while (const MagicParticle* p = Magic_GetNextParticle()) {
        xs.push_back(p->x);
        if (xs.size() == 2)
            Magic_MoveParticle(5, -7);
    }
    ASSERT_EQ(xs.size(), 3u);
    Magic_LockParticlesType(e, 0);
    const MagicParticle* first = Magic_GetNextParticle();
    EXPECT_EQ(first->x, xs[0]);
    const MagicParticle* second = Magic_GetNextParticle();
    EXPECT_EQ(second->x, xs[1] + 5);
    EXPECT_EQ(second->y, -7.0f);
    Magic_UnlockParticlesType();
}

TEST_F(ParticleLibraryTest, TextureRecordsLieSideBySideOnAPowerOfTwoPage)
{
    const int e = Load("burst");
    ASSERT_EQ(Magic_LockParticlesType(e, 0), kMagicSuccess);
    ASSERT_EQ(Magic_GetTextureCount(), 3);
    const int widths[] = {8, 4, 16};
    const int lefts[] = {0, 8, 12};
    for (int i = 0; i < 3; ++i) {
        const MagicTexture* t = Magic_GetTexture(i);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->id, static_cast<uint32_t>(i + 1));
        EXPECT_EQ(t->textureWidth, 32);
        EXPECT_EQ(t->textureHeight, 16);
        EXPECT_EQ(t->frameWidth, widths[i]);
        EXPECT_EQ(t->frameHeight, widths[i]);
        EXPECT_EQ(static_cast<int>(static_cast<float>(t->textureWidth) * t->left), lefts[i]);
        EXPECT_EQ(static_cast<int>(static_cast<float>(t->textureWidth) * (t->right - t->left)), widths[i]);
        EXPECT_EQ(static_cast<int>(static_cast<float>(t->textureHeight) * (t->bottom - t->top)), widths[i]);
        EXPECT_EQ(t->top, 0.0f);
        EXPECT_EQ(t->pivotX, 0.0f);
    }
    EXPECT_EQ(Magic_GetTexture(3), nullptr);
    EXPECT_EQ(Magic_GetTexture(-1), nullptr);

    // The pixels follow a header of 128 bytes.
    const MagicTexture* disc = Magic_GetTexture(0);
    auto pixel = [&](const MagicTexture* t, int x, int y) {
        uint32_t v;
        std::memcpy(&v, t->data + kMagicTextureHeaderBytes + (static_cast<size_t>(y) * t->frameWidth + x) * 4, 4);
        return v;
    };
    for (size_t i = 0; i < kMagicTextureHeaderBytes; ++i)
        ASSERT_EQ(disc->data[i], 0) << i;
    EXPECT_EQ(pixel(disc, 4, 4), 0xFFFF0000u);
    EXPECT_EQ(pixel(disc, 0, 0) >> 24, 0u);
    EXPECT_EQ(pixel(Magic_GetTexture(1), 0, 0), 0x8000FF00u);
    const MagicTexture* ring = Magic_GetTexture(2);
    EXPECT_EQ(pixel(ring, 8, 8) >> 24, 0u);
    EXPECT_EQ(pixel(ring, 8, 1), 0xFF0000FFu);
    Magic_UnlockParticlesType();
    EXPECT_EQ(Magic_GetTextureCount(), 0);

    // One frame lies at the origin of its own page.
    const int deep = Load("deep");
    Magic_LockParticlesType(deep, 0);
    const MagicTexture* t = Magic_GetTexture(0);
    EXPECT_EQ(t->id, 2u);
    EXPECT_EQ(t->left, 0.0f);
    EXPECT_EQ(t->right, 1.0f);
    EXPECT_EQ(t->bottom, 1.0f);
    Magic_UnlockParticlesType();
}

TEST_F(ParticleLibraryTest, IntensiveFlagPerType)
{
    const int e = Load("other");
    ASSERT_EQ(Magic_GetParticlesTypeCount(e), 2);
    Magic_LockParticlesType(e, 0);
    EXPECT_TRUE(Magic_IsIntensive());
    Magic_LockParticlesType(e, 1);
    EXPECT_FALSE(Magic_IsIntensive());
    Magic_UnlockParticlesType();
}

TEST_F(ParticleLibraryTest, OpensFilesFromDiskAndLogsCalls)
{
    TestSupport::ScratchFolder folder(TestSupport::ScratchFolder::Enter);
    TestSupport::WriteFile(folder / "res/One.ptc", kFile);
    TestSupport::WriteFile(folder / "res/bad.ptc", "PTC1\nnonsense\n");
    StartParticleLibraryCallLog();
    int file = 0;
    EXPECT_EQ(Magic_OpenFile("res\\one.ptc", &file), kMagicSuccess);
    EXPECT_NE(file, 0);
    EXPECT_EQ(Magic_OpenFile("res\\bad.ptc", &file), kMagicError);
    EXPECT_EQ(file, 0);
    EXPECT_NE(ParticleLibraryLastError().find("line 2"), std::string::npos) << ParticleLibraryLastError();
    EXPECT_EQ(ParticleLibraryCallLog(), (std::vector<std::string>{"Magic_OpenFile", "Magic_OpenFile"}));
}

} // namespace
