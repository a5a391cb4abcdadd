// The object commands on the system clipboard: what a copy puts there, a paste
// into another mission (the script travelling with its thing), bytes another
// editor wrote in another code page, and bytes that cannot be taken.

#include "ui/CObjectCommands.h"

#include "game/CDravoDon.h"
#include "game/CObjectsPayload.h"
#include "platform/CodePage.h"
#include "platform/MessagePresenter.h"
#include "tests/ui/EditedMission.h"
#include "ui/CEditHistory.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include <gtest/gtest.h>

using namespace ui;
using testsupport::EditedMission;

namespace {

class ObjectCommandsTest : public ::testing::Test {
protected:
    ObjectCommandsTest() : scope_(shown_)
    {
        platform::SetAnsiCodePage(1251);
        QApplication::clipboard()->clear();
    }
    ~ObjectCommandsTest() override { platform::SetAnsiCodePage(0); }

    CMission* MissionOf(const CSceneObject& object) const
    {
        for (CMission* mission : {source_.mission.get(), target_.mission.get()}) {
            if (mission->Owns(&object))
                return mission;
        }
        return nullptr;
    }

    CObjectCommands::Context Context()
    {
        return {[this] { return selected_; }, [this] { return pasteInto_; },
                [this](CVerdaxData* object) { madeSelection_ = object; },
                [this](const CSceneObject& object) { return MissionOf(object); }};
    }

    platform::RecordingPresenter shown_;
    platform::ScopedPresenter scope_;
    EditedMission source_;
    EditedMission target_;
    CEditHistory history_{CDravoDon::Instance(), [this](const CVerdaxData& object) {
                              const auto* scene = dynamic_cast<const CSceneObject*>(&object);
                              return scene ? MissionOf(*scene) : nullptr;
                          }};
    CSceneObject* selected_ = nullptr;
    CMission* pasteInto_ = nullptr;
    CVerdaxData* madeSelection_ = nullptr;
    CObjectCommands commands_{Context()};
};

QString MimeType()
{
    return QString::fromLatin1(CObjectsPayload::kMimeType.data(), CObjectsPayload::kMimeType.size());
}

}  // namespace

TEST_F(ObjectCommandsTest, ACopyPastedIntoAnotherMissionKeepsItsScriptAndIsOneStepThere)
{
    EXPECT_FALSE(commands_.CanCopy());
    selected_ = &source_.Door();
    ASSERT_TRUE(commands_.CanCopy());
    commands_.Copy();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasFormat(MimeType()));
    EXPECT_EQ(data->text(), "door");
    EXPECT_EQ(source_.mission->GetThings().size(), 2u);  // a copy changes nothing

    EXPECT_FALSE(commands_.CanPaste());  // no mission to paste into
    pasteInto_ = target_.mission.get();
    ASSERT_TRUE(commands_.CanPaste());
    commands_.Paste();
    const auto& things = target_.mission->GetThings();
    ASSERT_EQ(things.size(), 3u);
    CSceneObjectThing& pasted = *things.back();
    EXPECT_EQ(pasted.GetName(), "door_2");
    ASSERT_NE(pasted.GetLinkedData(), nullptr);
    EXPECT_EQ(pasted.GetLinkedData()->GetName(), "door_2");
    EXPECT_EQ(pasted.GetScript(), testsupport::EveryByteScript());
    EXPECT_EQ(madeSelection_, &pasted);

    // One step in the history of the mission pasted into, none in the other's.
    EXPECT_EQ(history_.StackOf(source_.mission.get()), nullptr);
    ASSERT_NE(history_.StackOf(target_.mission.get()), nullptr);
    EXPECT_EQ(history_.StackOf(target_.mission.get())->count(), 1);
    history_.SetCurrentMission(target_.mission.get());
    history_.Undo();
    EXPECT_EQ(target_.mission->GetThings().size(), 2u);
    EXPECT_EQ(target_.mission->GetThingData().size(), 2u);
}

TEST_F(ObjectCommandsTest, CutTakesTheThingAndItsDataOutAndPastesBack)
{
    selected_ = &source_.Lamp();
    commands_.Cut();
    EXPECT_EQ(source_.mission->GetThings().size(), 1u);
    EXPECT_EQ(source_.mission->GetThingData().size(), 1u);
    EXPECT_EQ(QApplication::clipboard()->mimeData()->text(), "lamp");

    // Pasted into its own mission again, the name is free once more.
    pasteInto_ = source_.mission.get();
    commands_.Paste();
    ASSERT_EQ(source_.mission->GetThings().size(), 2u);
    EXPECT_EQ(source_.mission->GetThings().back()->GetName(), "lamp");
    EXPECT_EQ(history_.StackOf(source_.mission.get())->count(), 2);
}

TEST_F(ObjectCommandsTest, BytesAnotherEditorWroteInAnotherCodePageAreConverted)
{
    // An editor running with code page 1252 copied "café"; this one runs with 1251,
    // which has no "é": refused, naming the character, and nothing pasted.
    CSceneObjectMissionScript script;
    script.NameCopy("caf\xE9");
    QApplication::clipboard()->setMimeData(CObjectCommands::MimeDataOf(CObjectsPayload::Write({&script}, 1252), "café"));
    pasteInto_ = target_.mission.get();
    commands_.Paste();
    EXPECT_EQ(target_.mission->GetMissionScripts().size(), 1u);
    ASSERT_EQ(shown_.entries.size(), 1u);
    EXPECT_NE(shown_.entries[0].text.find("«é» (U+00e9)"), std::string::npos) << shown_.entries[0].text;

    // "€" is 0x80 in 1252 and 0x88 in 1251: it arrives as the same character.
    script.NameCopy("\x80");
    QApplication::clipboard()->setMimeData(CObjectCommands::MimeDataOf(CObjectsPayload::Write({&script}, 1252), "€"));
    commands_.Paste();
    ASSERT_EQ(target_.mission->GetMissionScripts().size(), 2u);
    EXPECT_EQ(target_.mission->GetMissionScripts().back()->GetName(), "\x88");
    EXPECT_EQ(madeSelection_, target_.mission->GetMissionScripts().back().get());
}

TEST_F(ObjectCommandsTest, MalformedBytesAreRefusedWithAMessageAndChangeNothing)
{
    selected_ = &source_.Door();
    commands_.Copy();
    QByteArray bytes = QApplication::clipboard()->mimeData()->data(MimeType());
    bytes.chop(3);
    QApplication::clipboard()->setMimeData(CObjectCommands::MimeDataOf(bytes.toStdString(), "door"));
    pasteInto_ = target_.mission.get();
    commands_.Paste();
    EXPECT_EQ(target_.mission->GetThings().size(), 2u);
    EXPECT_EQ(history_.StackOf(target_.mission.get()), nullptr);
    ASSERT_EQ(shown_.entries.size(), 1u);
    EXPECT_NE(shown_.entries[0].text.find("Ничего не вставлено"), std::string::npos);

    // Plain text on the clipboard is no objects: nothing to paste.
    QApplication::clipboard()->setText("door");
    EXPECT_FALSE(commands_.CanPaste());
}

TEST_F(ObjectCommandsTest, DuplicateAndDeleteActOnTheSelectionAndSelectTheCopy)
{
    selected_ = &source_.Door();
    commands_.Duplicate();
    const auto& things = source_.mission->GetThings();
    ASSERT_EQ(things.size(), 3u);
    EXPECT_EQ(things[1]->GetName(), "door_2");  // right after the original
    EXPECT_EQ(madeSelection_, things[1].get());

    selected_ = things[1].get();
    commands_.Delete();
    EXPECT_EQ(source_.mission->GetThings().size(), 2u);
    EXPECT_EQ(source_.mission->GetThingData().size(), 2u);

    // An object no mission holds (one already taken out) is nothing to act on.
    CSceneObjectThing loose;
    selected_ = &loose;
    EXPECT_FALSE(commands_.CanDelete());
}
