// Picking in the headless context: the things of a mission as marker spheres on the
// new camera's line of sight, picked at the middle of a 64 x 64 frame.

#include "game/CMission.h"
#include "tests/view3d/DrawTestSupport.h"
#include "view3d/CWorldRenderer.h"

#include <memory>

namespace {

class Pick : public drawtest::FlatDrawTest {
protected:
    void SetUp() override
    {
        FlatDrawTest::SetUp();
        if (IsSkipped())
            return;
        renderer_.InitGl();
        glLoadIdentity();
        renderer_.SetupProjection(kSize, kSize);
        renderer_.Settings().markerMode = 1;
        renderer_.SetCurrentObject(&mission_);
    }

    void TearDown() override
    {
        renderer_.ReleaseGl();
        FlatDrawTest::TearDown();
    }

    // A marker `distance` lengths of d = (0, 1, 5) in front of the eye.
    CSceneObjectThing* AddThing(const std::string& name, float distance)
    {
        auto thing = std::make_unique<CSceneObjectThing>();
        thing->SetName(name);
        thing->SetTranslation({0, -distance, -5 * distance});
        CSceneObjectThing* added = thing.get();
        mission_.AddThing(std::move(thing));
        return added;
    }

    std::string PickedName(int x = kSize / 2, int y = kSize / 2)
    {
        const CSceneObjectThing* picked = renderer_.Pick(x, y, kSize, kSize);
        return picked ? picked->GetName() : "(none)";
    }

    CMission mission_{"picking", CMission::ExplicitFolder{"/nowhere/"}};
    CWorldRenderer renderer_;
};

TEST_F(Pick, EmptySpaceOutsideTheWindowAndNoMissionPickNothing)
{
    EXPECT_EQ(PickedName(), "(none)");
    AddThing("ahead", 2);
    EXPECT_EQ(PickedName(), "ahead");
    EXPECT_EQ(PickedName(2, 2), "(none)");
    EXPECT_EQ(PickedName(-40, 500), "(none)");
    renderer_.SetCurrentObject(nullptr);
    EXPECT_EQ(PickedName(), "(none)");
}

TEST_F(Pick, TheNearerOfTwoThingsIsPickedWhicheverIsDrawnFirst)
{
    AddThing("far", 4);
    AddThing("near", 2);
    EXPECT_EQ(PickedName(), "near");
    AddThing("nearest", 1);
    EXPECT_EQ(PickedName(), "nearest");
}

TEST_F(Pick, OnEqualDepthsTheThingDrawnFirstWins)
{
    AddThing("first", 2);
    AddThing("second", 2);
    EXPECT_EQ(PickedName(), "first");
}

TEST_F(Pick, MarkersAreNotPickableInMarkerModeZero)
{
    AddThing("ahead", 2);
    renderer_.Settings().markerMode = 0;
    EXPECT_EQ(PickedName(), "(none)");
    renderer_.Settings().markerMode = 2;
    EXPECT_EQ(PickedName(), "ahead");
}

// Mended: more than eight records used to overflow a buffer of 32 words and pick
// nothing.
TEST_F(Pick, TwelveThingsUnderTheCursorStillPickTheNearest)
{
    for (int i = 0; i < 11; ++i)
        AddThing("crowd " + std::to_string(i), 3);
    AddThing("in front", 2);
    EXPECT_EQ(PickedName(), "in front");
}

TEST_F(Pick, ASelectionOutsideTheCurrentMissionIsNoSelectedThing)
{
    CSceneObjectThing* inside = AddThing("inside", 2);
    CSceneObjectThing stranger;
    renderer_.SetSelected(&stranger);
    EXPECT_EQ(renderer_.GetSelectedThing(), nullptr);
    renderer_.SetSelected(inside);
    EXPECT_EQ(renderer_.GetSelectedThing(), inside);
    renderer_.SetCurrentObject(nullptr);
    EXPECT_EQ(renderer_.GetSelectedThing(), nullptr);
}

}  // namespace
