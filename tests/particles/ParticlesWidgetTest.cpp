#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "graphics/context/Graphics.h"
#include "particles/FakeEffect.h"
#include "particles/ParticlesOwner.h"
#include "particles/ParticlesWidget.h"
#include "widgets/FakeWidgetHost.h"
#include "widgets/WidgetManager.h"

namespace {

using namespace Tandry;
using TandryTest::FakeEffect;
using TandryTest::FakeOwner;

class ParticlesWidgetTest : public ::testing::Test {
protected:

    // Made, added to the parent and to the owner's list, as the quest engine does.
    ParticlesWidget* Make(FakeEffect* effect)
    {
        auto* w = new ParticlesWidget(effect, &mOwner);
        mParent.AddWidget(w);
        mOwner.widgets.push_back(w);
        return w;
    }

    FakeOwner mOwner;
    Widget mParent;
    // The application's deferred deletion, through the widget host.
    FakeWidgetHost mHost;
    std::vector<Widget*>& mDeferred = mHost.deferred;
};

TEST_F(ParticlesWidgetTest, FinishedEffectLeavesItsParentAndIsDeletedAfterTheUpdate)
{
    bool deleted = false;
    auto* effect = new FakeEffect(&deleted);
    ParticlesWidget* w = Make(effect);
    EXPECT_FALSE(w->mouseVisible);

    w->Update();
    EXPECT_EQ(effect->updates, 1);
    EXPECT_EQ(effect->lastDt, 0.01f);
    EXPECT_TRUE(mParent.HasWidget(w));
    EXPECT_TRUE(mDeferred.empty());

    effect->finished = true;
    w->Update();
    EXPECT_FALSE(mParent.HasWidget(w));
    ASSERT_EQ(mDeferred.size(), 1u);
    EXPECT_EQ(mDeferred[0], w);
    EXPECT_FALSE(deleted) << "deleted only after the update";
    EXPECT_EQ(mOwner.widgets.size(), 1u);

    // A second finish does nothing.
    w->Finish();
    w->Update();
    EXPECT_EQ(mDeferred.size(), 1u);

    // The application's deferred delete: the owner's list loses it and the effect goes.
    mDeferred.clear();
    delete w;
    EXPECT_TRUE(deleted);
    EXPECT_TRUE(mOwner.widgets.empty());
}

TEST_F(ParticlesWidgetTest, DestructorTakesOnlyItselfOutOfTheOwnersList)
{
    ParticlesWidget* a = Make(new FakeEffect);
    ParticlesWidget* b = Make(new FakeEffect);
    mOwner.widgets.push_back(a);  // listed twice: only the first goes
    mParent.RemoveWidget(a);
    delete a;
    ASSERT_EQ(mOwner.widgets.size(), 2u);
    EXPECT_EQ(mOwner.widgets.front(), b);
    EXPECT_EQ(mOwner.widgets.back(), a);
    mOwner.widgets.pop_back();
    mParent.RemoveWidget(b);
    delete b;
    EXPECT_TRUE(mOwner.widgets.empty());
}

TEST_F(ParticlesWidgetTest, DrawsTintedByTheSceneAndTheFadeInScreenCoordinates)
{
    auto* effect = new FakeEffect;
    ParticlesWidget* w = Make(effect);
    const struct {
        float fade;
        Color expected;
    } cases[] = {
        {1.0f, Color(200, 100, 50, 255)},
        {0.0f, Color(78, 39, 19, 0)},  // (100, 100, 100, 0) times the scene colour
        {0.5f, Color(138, 69, 34, 127)},
    };
    for (const auto& c : cases) {
        mOwner.fade = c.fade;
        EXPECT_EQ(ComputeBoardTint(&mOwner), c.expected) << c.fade;
        Graphics g;
        g.Translate(40, 50);
        w->Draw(&g);
        EXPECT_EQ(effect->drawColor, c.expected) << c.fade;
        EXPECT_TRUE(effect->drawColorize);
        EXPECT_EQ(effect->drawTransX, 0.0f);
    }
    EXPECT_EQ(ComputeBoardTint(nullptr), Color::White);
    mParent.RemoveWidget(w);
    delete w;
}

TEST_F(ParticlesWidgetTest, TheManagersUpdatePassStepsItAndAFinishedOneLeavesForDeletion)
{
    bool deleted = false;
    auto* effect = new FakeEffect(&deleted);
    auto* w = new ParticlesWidget(effect, &mOwner);
    mOwner.widgets.push_back(w);
    WidgetManager manager(&mHost);
    manager.AddWidget(w);

    manager.UpdateFrame();
    EXPECT_EQ(effect->updates, 1);
    effect->finished = true;
    manager.UpdateFrame();
    EXPECT_FALSE(manager.HasWidget(w));
    EXPECT_EQ(w->manager, nullptr);
    EXPECT_EQ(mDeferred, std::vector<Widget*>{w});
    EXPECT_FALSE(deleted);
    // The application deletes it after the update.
    mHost.DeleteDeferred();
    EXPECT_TRUE(deleted);
}

} // namespace
