// The names copies get: BASE_N with the smallest free N, letter case ignored in the
// game's code page, a thing with linked data avoiding the thing data's names too.

#include "game/CCopyNaming.h"
#include "tests/game/SceneMissions.h"

#include <gtest/gtest.h>

using Copy = CCopyNaming::Copy;
using testsupport::BoxThing;
using testsupport::ScriptData;

TEST(CopyNaming, TheBaseIsTheNameWithoutAFinalUnderscoreAndDigits)
{
    EXPECT_EQ(CCopyNaming::BaseName("lamp_2"), "lamp");
    EXPECT_EQ(CCopyNaming::BaseName("lamp_02"), "lamp");
    EXPECT_EQ(CCopyNaming::BaseName("lamp_2_7"), "lamp_2");
    EXPECT_EQ(CCopyNaming::BaseName("lamp2"), "lamp2");
    EXPECT_EQ(CCopyNaming::BaseName("lamp_"), "lamp_");
    EXPECT_EQ(CCopyNaming::BaseName("lamp_x"), "lamp_x");
    EXPECT_EQ(CCopyNaming::BaseName("_5"), "");
}

TEST(CopyNaming, ATakenNameGetsTheSmallestFreeNumberFromTwoIgnoringLetterCase)
{
    const testsupport::ScopedCodePage cyrillic(1251);
    testsupport::SceneMissions missions;
    demo::SceneFileData scene;
    // "Фонарь_2" in code page 1251, upper case.
    const std::string lamp2Upper = "\xD4\xEE\xED\xE0\xF0\xFC_2";
    const std::string lamp = "\xF4\xEE\xED\xE0\xF0\xFC";
    scene.things = {BoxThing("lamp"), BoxThing("LAMP_3"), BoxThing(lamp), BoxThing(lamp2Upper), BoxThing("")};
    scene.thingData = {ScriptData("guard", "x"), ScriptData("lamp_2", "y")};
    scene.missionScripts = {{1, "init", ""}};
    CCopyNaming naming(missions.Load("m", scene));

    EXPECT_EQ(naming.FreeName(Copy::Thing, "lamp"), "lamp_2");
    EXPECT_EQ(naming.FreeName(Copy::Thing, "lamp_3"), "lamp_2");  // lamp_2 is free among the things
    EXPECT_EQ(naming.FreeName(Copy::ThingWithData, "lamp"), "lamp_4");  // ... but a thing data has it
    EXPECT_EQ(naming.FreeName(Copy::Thing, lamp), lamp + "_3");
    EXPECT_EQ(naming.FreeName(Copy::Thing, "crate"), "crate");
    EXPECT_EQ(naming.FreeName(Copy::Thing, ""), "");  // unnamed stays unnamed
    EXPECT_EQ(naming.FreeName(Copy::ThingData, "GUARD"), "GUARD_2");
    EXPECT_EQ(naming.FreeName(Copy::ThingData, "crate"), "crate");
    EXPECT_EQ(naming.FreeName(Copy::MissionScript, "Init"), "Init_2");

    naming.Take(Copy::ThingWithData, "lamp_2");
    EXPECT_EQ(naming.FreeName(Copy::Thing, "lamp"), "lamp_4");
    EXPECT_TRUE(naming.IsTaken(Copy::ThingData, "LAMP_2"));
}
