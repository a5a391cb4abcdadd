#include "ui/CGenericInfoFrame.h"

#include "core/StringTable.h"
#include "game/CDravoDon.h"
#include "platform/MessagePresenter.h"
#include "tests/ui/EditedMission.h"
#include "ui/CGenericInfoFormView.h"
#include "ui/DialogUnits.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

using namespace ui;
using Form = CGenericInfoFormView;

namespace {

struct Watcher final : CDravoDonView {
    Watcher() { CDravoDon::Instance().RegisterView(this); }
    void Notify(CDravoDonView* sender, int code, int) override
    {
        if (code == DON_OBJECT_CHANGED)
            changedBy.push_back(sender);
    }
    void Select(CVerdaxData* object)
    {
        SetObject(object);
        CDravoDon::Instance().Broadcast(this, DON_OBJECT_SELECTED, 0);
    }
    std::vector<CDravoDonView*> changedBy;
};

class InfoFormTest : public testing::Test {
protected:
    InfoFormTest() : scope_(shown_)
    {
        area_.resize(1200, 700);
        frame_ = new CGenericInfoFrame(&mission_.Door());
        area_.addSubWindow(frame_);
        form_ = frame_->View();
        CDravoDon::Instance().RegisterView(form_);
        area_.show();
        area_.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&area_));
        frame_->show();
    }

    QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(form_->Control(id)); }
    QString Text(int id) const
    {
        QWidget* control = form_->Control(id);
        if (auto* label = qobject_cast<QLabel*>(control))
            return label->text();
        return Edit(id)->text();
    }
    void Type(int id, const QString& text)
    {
        Edit(id)->selectAll();
        QTest::keyClick(Edit(id), Qt::Key_Backspace);
        QTest::keyClicks(Edit(id), text);
    }
    void Apply() { QTest::mouseClick(static_cast<QPushButton*>(form_->Control(Form::IDC_APPLY)), Qt::LeftButton); }

    platform::RecordingPresenter shown_;
    platform::ScopedPresenter scope_;
    testsupport::EditedMission mission_;
    Watcher watcher_;
    QMdiArea area_;
    CGenericInfoFrame* frame_;
    Form* form_;
};

}  // namespace

TEST_F(InfoFormTest, AThingIsShownWithItsMarkAndTheFormFitsItsFrame)
{
    EXPECT_EQ(frame_->windowTitle(), "Инфа Объекта");
    EXPECT_EQ(Text(Form::IDC_NAME), "door");
    EXPECT_EQ(Text(Form::IDC_MODEL), "door.4ds");
    EXPECT_EQ(Text(Form::IDC_SECTOR), "hall");
    EXPECT_EQ(Text(Form::IDC_KIND), "9");
    EXPECT_EQ(Text(Form::IDC_MARK), "*");
    EXPECT_EQ(Text(Form::IDC_TRANSLATION_X), "1.5");
    EXPECT_EQ(Text(Form::IDC_TRANSLATION_Z), "-3.25");
    EXPECT_EQ(Text(Form::IDC_SCALE_Y), "2");
    EXPECT_EQ(Text(Form::IDC_ANGLE), "0");
    EXPECT_TRUE(Edit(Form::IDC_NAME)->isReadOnly());
    EXPECT_FALSE(Edit(Form::IDC_KIND)->isReadOnly());

    const DialogUnits units(form_->widget()->font());
    EXPECT_EQ(form_->FormSize(), units.Size(504, 204));
    EXPECT_EQ(form_->Control(Form::IDC_TRANSLATION_Y)->geometry(), units.Rect(240, 33, 69, 14));
    EXPECT_EQ(form_->Control(Form::IDC_SCRIPT)->geometry(), units.Rect(7, 120, 302, 77));
    EXPECT_EQ(form_->Control(Form::IDC_APPLY)->geometry(), units.Rect(447, 183, 50, 14));
    EXPECT_EQ(form_->viewport()->size(), form_->FormSize());  // no scroll bars, no spare room
    EXPECT_FALSE(form_->horizontalScrollBar()->isVisible());
}

TEST_F(InfoFormTest, ApplyWritesTranslationRotationAndScaleButNeverTheKind)
{
    Type(Form::IDC_TRANSLATION_X, " 7 ");
    Type(Form::IDC_ANGLE, "90");
    Type(Form::IDC_AXIS_Y, "1");
    Type(Form::IDC_SCALE_Z, "1e-3");
    Type(Form::IDC_KIND, "77");
    Apply();
    CSceneObjectThing& door = mission_.Door();
    EXPECT_EQ(door.GetTranslation(), (Vector3{7.0f, 2.0f, -3.25f}));
    EXPECT_EQ(door.GetRotation().angle, 90.0f);
    EXPECT_EQ(door.GetRotation().y, 1.0f);
    EXPECT_EQ(door.GetScale(), (Vector3{1.0f, 2.0f, 0.001f}));
    EXPECT_EQ(door.GetKind(), 9);
    EXPECT_EQ(form_->GetValues().kind, 77u);
    EXPECT_EQ(watcher_.changedBy, std::vector<CDravoDonView*>{form_});
    EXPECT_TRUE(shown_.entries.empty());

    Type(Form::IDC_TRANSLATION_Z, "4");
    QTest::keyClick(Edit(Form::IDC_TRANSLATION_Z), Qt::Key_Return);  // Enter presses "Применить"
    EXPECT_EQ(door.GetTranslation().z, 4.0f);
    EXPECT_EQ(watcher_.changedBy.size(), 2u);
}

// A field that is not one finite float stops the reading there: what came before
// it in the reading order (name, translation y, z, x, model, mark, angle, axis
// x, y, z, scale x, y, z, kind, sector) is new, the rest as shown before.
TEST_F(InfoFormTest, AFieldThatIsNotANumberStopsTheTransferThereWithAMessage)
{
    CSceneObjectThing& door = mission_.Door();
    for (const char* bad : {"abc", "1 2", "nan", "inf", "1e999", ""}) {
        SCOPED_TRACE(bad);
        shown_.entries.clear();
        form_->ShowObject();
        Type(Form::IDC_TRANSLATION_X, "7");
        Type(Form::IDC_TRANSLATION_Y, bad);
        Type(Form::IDC_TRANSLATION_Z, "9");
        Type(Form::IDC_SCALE_X, "5");
        Apply();
        ASSERT_EQ(shown_.entries.size(), 1u);
        EXPECT_EQ(shown_.entries[0].id, IDS_ERR_NOT_A_NUMBER);
        EXPECT_EQ(shown_.entries[0].text, "Введите число.");
        EXPECT_EQ(QApplication::focusWidget(), Edit(Form::IDC_TRANSLATION_Y));
        EXPECT_EQ(door.GetTranslation(), (Vector3{1.5f, 2.0f, -3.25f}));
        EXPECT_EQ(door.GetScale(), (Vector3{1.0f, 2.0f, 0.5f}));
    }
    EXPECT_TRUE(watcher_.changedBy.empty());  // nothing typed was taken before the bad field: no edit

    // Letters in scale y: translation, rotation and scale x are new, scale y and z not.
    form_->ShowObject();
    Type(Form::IDC_TRANSLATION_X, "7");
    Type(Form::IDC_AXIS_Z, "1");
    Type(Form::IDC_SCALE_X, "5");
    Type(Form::IDC_SCALE_Y, "x");
    Type(Form::IDC_SCALE_Z, "6");
    Type(Form::IDC_KIND, "-1");
    Apply();
    EXPECT_EQ(door.GetTranslation(), (Vector3{7.0f, 2.0f, -3.25f}));
    EXPECT_EQ(door.GetRotation().z, 1.0f);
    EXPECT_EQ(door.GetScale(), (Vector3{5.0f, 2.0f, 0.5f}));
    EXPECT_EQ(QApplication::focusWidget(), Edit(Form::IDC_SCALE_Y));
    EXPECT_FALSE(std::isnan(door.GetTranslation().y));
    EXPECT_EQ(watcher_.changedBy.size(), 1u);
}

TEST_F(InfoFormTest, AMissionSelectedAfterAThingLeavesTheFormAndApplyDoesNothing)
{
    watcher_.Select(&mission_.Lamp());
    Type(Form::IDC_TRANSLATION_X, "8");
    watcher_.Select(mission_.mission.get());
    EXPECT_EQ(form_->GetObject(), mission_.mission.get());
    EXPECT_EQ(Text(Form::IDC_NAME), "lamp");
    EXPECT_EQ(Text(Form::IDC_TRANSLATION_X), "1.5");  // shown again from the values, as they were
    Type(Form::IDC_TRANSLATION_X, "8");
    Apply();
    EXPECT_TRUE(watcher_.changedBy.empty());
    EXPECT_EQ(mission_.Lamp().GetTranslation().x, 1.5f);
    EXPECT_EQ(form_->GetValues().translation.x, 8.0f);

    // A change while the form shows no thing leaves it; a selection shows the thing.
    mission_.Door().SetTranslation({3.0f, 3.0f, 3.0f});
    CDravoDon::Instance().Broadcast(&watcher_, DON_OBJECT_CHANGED, 0);
    EXPECT_EQ(Text(Form::IDC_TRANSLATION_X), "8");
    watcher_.Select(&mission_.Door());
    EXPECT_EQ(Text(Form::IDC_TRANSLATION_X), "3");
}

// Only what the user typed is read: a value shown with six digits goes back with
// all of its bits, and "Применить" with nothing typed is no edit at all.
TEST_F(InfoFormTest, AnUntouchedFieldGivesBackItsValueAndNothingTypedIsNoEdit)
{
    CSceneObjectThing& door = mission_.Door();
    door.SetTranslation({1.4852309f, 2.0f, -3.25f});
    door.SetRotation({33.3333321f, 0.0f, 1.0f, 0.0f});
    watcher_.Select(&door);
    ASSERT_EQ(Text(Form::IDC_TRANSLATION_X), "1.48523");
    Apply();
    EXPECT_TRUE(watcher_.changedBy.empty());

    Type(Form::IDC_TRANSLATION_Y, "5");
    Apply();
    EXPECT_EQ(door.GetTranslation(), (Vector3{1.4852309f, 5.0f, -3.25f}));
    EXPECT_EQ(door.GetRotation().angle, 33.3333321f);
    EXPECT_EQ(watcher_.changedBy.size(), 1u);
    QTest::keyClick(Edit(Form::IDC_TRANSLATION_Y), Qt::Key_Return);  // applied already: nothing more
    Type(Form::IDC_KIND, "77");  // typed, but never written
    Apply();
    EXPECT_EQ(watcher_.changedBy.size(), 1u);
}

// A drag, a page's edit or an undo reach the form: "Применить" afterwards writes
// what the thing has now, and what the user typed meanwhile.
TEST_F(InfoFormTest, TheFormFollowsItsThingAndKeepsWhatWasTyped)
{
    CSceneObjectThing& door = mission_.Door();
    Type(Form::IDC_SCALE_Z, "9");
    ObjectEdit drag;
    drag.kind = EditKind::Move;
    drag.translation = Vector3{4.0f, 5.0f, 6.0f};
    CDravoDon::Instance().ApplyEdit(nullptr, door, drag);
    EXPECT_EQ(Text(Form::IDC_TRANSLATION_X), "4");
    EXPECT_EQ(Text(Form::IDC_SCALE_Z), "9");
    Apply();
    EXPECT_EQ(door.GetTranslation(), (Vector3{4.0f, 5.0f, 6.0f}));
    EXPECT_EQ(door.GetScale(), (Vector3{1.0f, 2.0f, 9.0f}));

    drag.translation = Vector3{-1.0f, 0.0f, 0.0f};
    CDravoDon::Instance().ApplyEdit(nullptr, door, drag);
    Type(Form::IDC_ANGLE, "45");
    Apply();
    EXPECT_EQ(door.GetTranslation(), (Vector3{-1.0f, 0.0f, 0.0f}));
    EXPECT_EQ(door.GetRotation().angle, 45.0f);
}

TEST_F(InfoFormTest, EveryFieldIsNamedForScreenReadersAndReadOnlyOnesSaySo)
{
    const auto accessible = [this](int id) { return QAccessible::queryAccessibleInterface(form_->Control(id)); };
    EXPECT_EQ(accessible(Form::IDC_NAME)->text(QAccessible::Name), "Описание");
    EXPECT_TRUE(accessible(Form::IDC_NAME)->state().readOnly);
    EXPECT_EQ(accessible(Form::IDC_SECTOR)->text(QAccessible::Name), "Начальный Сектор");
    EXPECT_EQ(accessible(Form::IDC_TRANSLATION_X)->text(QAccessible::Name), "Translation X");
    EXPECT_FALSE(accessible(Form::IDC_TRANSLATION_X)->state().readOnly);
    EXPECT_EQ(accessible(Form::IDC_ANGLE)->text(QAccessible::Name), "Rotation angle");
    EXPECT_EQ(accessible(Form::IDC_AXIS_Z)->text(QAccessible::Name), "Rotation axis Z");
    EXPECT_EQ(accessible(Form::IDC_SCALE_Y)->text(QAccessible::Name), "Scale Y");
    EXPECT_EQ(accessible(Form::IDC_KIND)->text(QAccessible::Name), "4011");
    EXPECT_EQ(accessible(Form::IDC_SCRIPT)->text(QAccessible::Name), "Скрипт");
    EXPECT_TRUE(accessible(Form::IDC_SCRIPT)->state().readOnly);
    EXPECT_EQ(accessible(Form::IDC_APPLY)->text(QAccessible::Name), "Применить");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(frame_)->text(QAccessible::Name), "Инфа Объекта");
}
