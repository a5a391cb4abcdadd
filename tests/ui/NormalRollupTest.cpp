#include "ui/CNormalRollupControl.h"

#include "core/StringTable.h"
#include "tests/ui/NormalRollupFixture.h"
#include "ui/CRollupEditDescription.h"
#include "ui/CRollupEditRotation.h"
#include "ui/CRollupEditScale.h"
#include "ui/CRollupEditScript.h"
#include "ui/CRollupEditTranslation.h"
#include "ui/CScriptCtrl.h"

#include <QAccessible>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>

#include <gtest/gtest.h>

#include <memory>

using namespace ui;
using testsupport::NormalRollupTest;
using testsupport::RecordingHost;
using testsupport::SenderView;

TEST_F(NormalRollupTest, PagesFollowTheKindOfTheObject)
{
    using Pages = std::vector<bool>;
    EXPECT_EQ(Enabled(), Pages(5, false));  // nothing selected yet
    EXPECT_EQ(rollup_.PageAt(rollup_.ScriptIndex())->titleButton->text(), "Script");

    Select(&ThingNamed("crate"));  // kind 2, a data block without a script
    EXPECT_EQ(Enabled(), (Pages{true, true, true, true, false}));
    Select(&ThingNamed("odd"));  // kind 5, nothing linked
    EXPECT_EQ(Enabled(), Pages(5, false));
    Select(&ThingNamed("k4097"));
    EXPECT_EQ(Enabled(), (Pages{true, true, true, true, false}));
    Select(&ThingNamed("guard"));  // kind 5 linked to a kind-27 script
    EXPECT_EQ(Enabled(), (Pages{false, false, false, false, true}));
    EXPECT_EQ(rollup_.ScriptPage()->ScriptControl()->toPlainText(), "guard script\n");
    Select(&ThingNamed("door"));  // 4098 with a kind-5 script
    EXPECT_EQ(Enabled(), Pages(5, true));
    EXPECT_EQ(rollup_.ScriptPage()->ScriptControl()->toPlainText(), "door script\n");

    Select(mission_->GetMissionScripts()[0].get());
    EXPECT_EQ(Enabled(), (Pages{true, false, false, false, true}));
    EXPECT_EQ(Field(1028)->text(), "init");
    Select(mission_->GetThingData()[0].get());
    EXPECT_EQ(Enabled(), Pages(5, false));
    Select(mission_.get());
    EXPECT_EQ(Enabled(), Pages(5, false));
    Select(nullptr);
    EXPECT_EQ(Enabled(), Pages(5, false));
}

TEST_F(NormalRollupTest, GreyedPagesKeepTheirContentsAndWhetherTheyAreOpen)
{
    Select(&ThingNamed("crate"));
    rollup_.SetPageExpanded(rollup_.TranslationIndex(), true);
    EXPECT_EQ(Field(1025)->text(), "1");
    EXPECT_EQ(Field(1026)->text(), "2.5");
    EXPECT_EQ(Field(1027)->text(), "-3");
    EXPECT_EQ(Field(1042)->text(), "0.5");
    EXPECT_TRUE(rollup_.TranslationPage()->isVisible());
    Select(mission_->GetThingData()[0].get());
    EXPECT_FALSE(rollup_.TranslationPage()->isVisible());
    EXPECT_TRUE(rollup_.PageIsOpen(rollup_.TranslationIndex()));
    EXPECT_EQ(Field(1026)->text(), "2.5");
    Select(&ThingNamed("k4097"));
    EXPECT_TRUE(rollup_.TranslationPage()->isVisible());
    EXPECT_EQ(Field(1026)->text(), "0");
}

TEST_F(NormalRollupTest, EnterAppliesTheTranslationAndEscapePutsTheHeldValuesBack)
{
    CSceneObjectThing& crate = ThingNamed("crate");
    Select(&crate);
    rollup_.SetPageExpanded(rollup_.TranslationIndex(), true);
    watcher_.codes.clear();

    Type(Field(1025), "5.25");
    QTest::keyClick(Field(1025), Qt::Key_Return);
    EXPECT_EQ(crate.GetTranslation(), (Vector3{5.25f, 2.5f, -3.0f}));
    EXPECT_EQ(watcher_.codes, std::vector<int>{DON_OBJECT_CHANGED});
    EXPECT_EQ(watcher_.objects.back(), &crate);
    EXPECT_EQ(Field(1025)->text(), "5.25");

    Type(Field(1026), "7");
    QTest::keyClick(Field(1026), Qt::Key_Escape);
    EXPECT_EQ(Field(1026)->text(), "2.5");
    EXPECT_EQ(Field(1025)->text(), "5.25");
    EXPECT_EQ(crate.GetTranslation().y, 2.5f);
    EXPECT_EQ(watcher_.codes.size(), 1u);
    EXPECT_TRUE(shown_.entries.empty());

    rollup_.SetPageExpanded(rollup_.ScaleIndex(), true);
    Type(Field(1040), " 3e2 ");
    QTest::keyClick(Field(1040), Qt::Key_Enter);
    EXPECT_EQ(crate.GetScale(), (Vector3{2.0f, 300.0f, 0.5f}));
}

TEST_F(NormalRollupTest, AFieldThatIsNotOneFiniteFloatIsRefusedAndNothingIsWritten)
{
    CSceneObjectThing& crate = ThingNamed("crate");
    Select(&crate);
    rollup_.SetAllExpanded(true);
    watcher_.codes.clear();
    const std::string_view message = LoadString(IDS_ERR_NOT_A_NUMBER);
    ASSERT_EQ(message, "Введите число.");

    for (const char* text : {"abc", "1 2", "nan", "inf", "-inf", "1e999", "", "0x10"}) {
        SCOPED_TRACE(text);
        shown_.entries.clear();
        Type(Field(1026), "8");  // a good field before the bad one is not written either
        Type(Field(1027), QString::fromUtf8(text));
        QTest::keyClick(Field(1027), Qt::Key_Return);
        ASSERT_EQ(shown_.entries.size(), 1u);
        EXPECT_EQ(shown_.entries[0], (platform::RecordingPresenter::Entry{IDS_ERR_NOT_A_NUMBER, std::string(message)}));
        EXPECT_EQ(rollup_.window()->focusWidget(), Field(1027));
        EXPECT_EQ(crate.GetTranslation(), (Vector3{1.0f, 2.5f, -3.0f}));
        EXPECT_TRUE(watcher_.codes.empty());
        // Escape then shows the held values, not the half-taken ones.
        QTest::keyClick(Field(1027), Qt::Key_Escape);
        EXPECT_EQ(Field(1026)->text(), "2.5");
    }

    Type(Field(1038), "nan");
    QTest::keyClick(Field(1038), Qt::Key_Return);
    EXPECT_EQ(crate.GetScale(), (Vector3{2.0f, 2.0f, 0.5f}));
    EXPECT_EQ(rollup_.window()->focusWidget(), Field(1038));
}

TEST_F(NormalRollupTest, AChangeFromAnyViewRefillsThePagesFromTheRollupsObject)
{
    CSceneObjectThing& crate = ThingNamed("crate");
    Select(&crate);
    // The world window drags the thing and announces it; its own object may be another.
    crate.SetTranslation({4.0f, 5.0f, 6.0f});
    SenderView world;
    world.SetObject(&ThingNamed("door"));
    CDravoDon::Instance().Broadcast(&world, DON_OBJECT_CHANGED, 0);
    EXPECT_EQ(Field(1025)->text(), "4");
    EXPECT_EQ(Field(1027)->text(), "6");
    EXPECT_EQ(rollup_.GetObject(), &crate);

    // Undo's announcer: the edit path with no sender view of its own.
    ObjectEdit edit;
    edit.kind = EditKind::Translate;
    edit.translation = Vector3{-1.5f, 0.0f, 1e-7f};
    CDravoDon::Instance().ApplyEdit(nullptr, crate, edit);
    EXPECT_EQ(Field(1025)->text(), "-1.5");
    EXPECT_EQ(Field(1027)->text(), "1e-07");
    EXPECT_EQ(rollup_.TranslationPage()->Values(), (Vector3{-1.5f, 0.0f, 1e-7f}));
}

// A drag announces a change on every mouse move: the pages take the new values
// without greying (which would take the focus from a field) or streaming the same
// script in again (which would put its caret back at the start).
TEST_F(NormalRollupTest, AChangeRefillsTheValuesWithoutRelayingOutTheRollup)
{
    CSceneObjectThing& door = ThingNamed("door");
    Select(&door);
    rollup_.SetPageExpanded(rollup_.TranslationIndex(), true);
    Field(1025)->setFocus();
    CScriptCtrl* script = rollup_.ScriptPage()->ScriptControl();
    QTextCursor caret = script->textCursor();
    caret.setPosition(3);
    script->setTextCursor(caret);

    door.SetTranslation({7.0f, 8.0f, 9.0f});
    CDravoDon::Instance().Broadcast(&sender_, DON_OBJECT_CHANGED, 0);
    EXPECT_EQ(Field(1025)->text(), "7");
    EXPECT_EQ(rollup_.window()->focusWidget(), Field(1025));
    EXPECT_EQ(script->textCursor().position(), 3);

    door.SetScript("changed\r\n");
    CDravoDon::Instance().Broadcast(&sender_, DON_OBJECT_CHANGED, 0);
    EXPECT_EQ(script->toPlainText(), "changed\n");
}

TEST_F(NormalRollupTest, TheRotationPageShowsThreeAnglesAndIsDisplayOnly)
{
    const Vector3 quarter = CRollupEditRotation::RotationAngles({90.0f, 0.0f, 0.0f, 1.0f});
    EXPECT_NEAR(quarter.x, -90.0f, 1e-4f);
    EXPECT_NEAR(quarter.y, 0.0f, 1e-4f);
    EXPECT_NEAR(quarter.z, 0.0f, 1e-4f);
    EXPECT_EQ(CRollupEditRotation::RotationAngles({0.0f, 0.0f, 0.0f, 0.0f}), (Vector3{0.0f, 0.0f, 0.0f}));
    const Vector3 aboutX = CRollupEditRotation::RotationAngles({30.0f, 1.0f, 0.0f, 0.0f});
    EXPECT_NEAR(aboutX.z, -30.0f, 1e-4f);
    const Vector3 aboutY = CRollupEditRotation::RotationAngles({30.0f, 0.0f, 1.0f, 0.0f});
    EXPECT_NEAR(aboutY.y, -30.0f, 1e-4f);
    EXPECT_EQ(aboutY.x, 0.0f);
    EXPECT_EQ(aboutY.z, 0.0f);

    // A half turn about Y and whole turns leave float rounding where the angles are
    // zero: they read 0. An angle of a ten-thousandth of a degree is no rounding.
    EXPECT_EQ(CRollupEditRotation::RotationAngles({180.0f, 0.0f, 1.0f, 0.0f}), (Vector3{180.0f, 0.0f, 180.0f}));
    EXPECT_EQ(CRollupEditRotation::RotationAngles({360.0f, 0.0f, 1.0f, 0.0f}), (Vector3{0.0f, 0.0f, 0.0f}));
    EXPECT_EQ(CRollupEditRotation::RotationAngles({720.0f, 1.0f, 0.0f, 0.0f}), (Vector3{0.0f, 0.0f, 0.0f}));
    EXPECT_NEAR(CRollupEditRotation::RotationAngles({1e-4f, 0.0f, 0.0f, 1.0f}).x, -1e-4f, 1e-9f);

    CSceneObjectThing& crate = ThingNamed("crate");
    crate.SetRotation({90.0f, 0.0f, 0.0f, 1.0f});
    Select(&crate);
    EXPECT_EQ(Field(1032)->text(), "-90");
    EXPECT_EQ(Field(1034)->text(), "0");
    EXPECT_EQ(Field(1036)->text(), "0");
    crate.SetRotation({180.0f, 0.0f, 1.0f, 0.0f});
    Select(&crate);
    EXPECT_EQ(Field(1034)->text(), "0");
    for (int id : {1032, 1034, 1036}) {
        EXPECT_FALSE(Field(id)->isEnabled());
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(Field(id));
        ASSERT_NE(field, nullptr);
        EXPECT_TRUE(field->state().disabled);
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(Field(1034))->text(QAccessible::Name), "Rotation Y");
}

TEST_F(NormalRollupTest, ANameGoesBackByteForByteAndAnUnstorableCharacterIsRefused)
{
    platform::SetAnsiCodePage(1251);
    CSceneObjectThing& crate = ThingNamed("crate");
    crate.SetName("\xC4\xE2\xE5\xF0\xFC\x98");  // "Дверь" and a byte 1251 leaves undefined
    Select(&crate);
    rollup_.SetPageExpanded(rollup_.DescriptionIndex(), true);
    QLineEdit* name = Field(1028);
    EXPECT_TRUE(name->text().startsWith(QStringLiteral("Дверь")));
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(crate.GetName(), "\xC4\xE2\xE5\xF0\xFC\x98");

    Type(name, QStringLiteral("Ящик №2"));
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(crate.GetName(), "\xDF\xF9\xE8\xEA \xB9\x32");

    watcher_.codes.clear();
    Type(name, QStringLiteral("Ящик ☃"));
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(crate.GetName(), "\xDF\xF9\xE8\xEA \xB9\x32");
    EXPECT_TRUE(watcher_.codes.empty());
    ASSERT_EQ(shown_.entries.size(), 1u);
    EXPECT_NE(QString::fromStdString(shown_.entries[0].text).indexOf(QStringLiteral("☃")), -1);
    EXPECT_EQ(rollup_.window()->focusWidget(), name);

    Type(name, QString());  // an empty name is allowed
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(crate.GetName(), "");
    platform::SetAnsiCodePage(0);
}

TEST_F(NormalRollupTest, AMissionScriptKeepsItsNameButTheChangeIsAnnounced)
{
    CSceneObjectMissionScript* script = mission_->GetMissionScripts()[0].get();
    Select(script);
    rollup_.SetPageExpanded(rollup_.DescriptionIndex(), true);
    watcher_.codes.clear();
    Type(Field(1028), "renamed");
    QTest::keyClick(Field(1028), Qt::Key_Return);
    EXPECT_EQ(script->GetName(), "init");
    EXPECT_EQ(watcher_.codes, std::vector<int>{DON_OBJECT_CHANGED});
    EXPECT_EQ(Field(1028)->text(), "renamed");
}

TEST_F(NormalRollupTest, EditOpensAScriptWindowAndThenAnnouncesTheObject)
{
    RecordingHost host;
    IDravoDonHost* previous = CDravoDon::Instance().GetHost();
    CDravoDon::Instance().SetHost(&host);
    CSceneObjectThing& guard = ThingNamed("guard");
    Select(&guard);
    rollup_.SetPageExpanded(rollup_.ScriptIndex(), true);
    watcher_.codes.clear();
    watcher_.objects.clear();

    QPushButton* edit = rollup_.ScriptPage()->EditButton();
    EXPECT_EQ(edit->text(), "&Правка");
    QTest::mouseClick(edit, Qt::LeftButton);
    ASSERT_EQ(host.requests.size(), 1u);
    EXPECT_EQ(host.requests[0], (std::pair<int, CVerdaxData*>(DON_VIEW_SCRIPT, &guard)));
    EXPECT_EQ(watcher_.codes, std::vector<int>{DON_OBJECT_SELECTED});
    EXPECT_EQ(watcher_.objects, std::vector<CVerdaxData*>{&guard});

    // Without a current object nothing happens (the button is greyed then, too).
    Select(nullptr);
    watcher_.codes.clear();
    rollup_.SetPageEnabled(rollup_.ScriptIndex(), true);
    QTest::mouseClick(edit, Qt::LeftButton);
    EXPECT_EQ(host.requests.size(), 1u);
    EXPECT_TRUE(watcher_.codes.empty());
    CDravoDon::Instance().SetHost(previous);
}

TEST_F(NormalRollupTest, ControlsCarryTheirNamesAndStates)
{
    Select(&ThingNamed("door"));
    const auto name = [](QWidget* widget) { return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name); };
    EXPECT_EQ(name(&rollup_), "RollupCtrl");
    EXPECT_EQ(name(Field(1028)), "Description");
    EXPECT_EQ(name(Field(1025)), "Translation X");
    EXPECT_EQ(name(Field(1042)), "Scale Z");
    EXPECT_EQ(name(rollup_.ScriptPage()->EditButton()), "Правка");
    EXPECT_EQ(name(rollup_.PageAt(rollup_.ScaleIndex())->titleButton), "Scale");
    CScriptCtrl* script = rollup_.ScriptPage()->ScriptControl();
    EXPECT_EQ(name(script), "Скрипт");
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(script)->state().readOnly);
    EXPECT_EQ(script->palette().color(QPalette::Base), QColor(212, 208, 200));

    Select(mission_.get());
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(Field(1025))->state().disabled);
}
