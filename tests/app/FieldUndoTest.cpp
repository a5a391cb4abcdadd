// Undo in a field whose text goes into an object: the field's own undo takes back
// only typing not yet applied; after Enter or "Применить" the keys and the menu
// undo the mission's step, and the field shows the value put back.

#include "tests/app/EditorOnDemo.h"

#include "ui/CGenericInfoFormView.h"
#include "ui/CNormalRollupControl.h"
#include "ui/CRollupEditTranslation.h"
#include "ui/CommandIds.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

using namespace ui;

namespace {

class FieldUndo : public EditorOnDemo {
protected:
    QLineEdit* PageFieldX()
    {
        auto* rollup = frame_->EditBarPanel()->findChild<CNormalRollupControl*>();
        EXPECT_NE(rollup, nullptr);
        if (!rollup->PageAt(rollup->TranslationIndex())->expanded)
            QTest::mouseClick(rollup->PageAt(rollup->TranslationIndex())->titleButton, Qt::LeftButton);
        return rollup->TranslationPage()->Field(0);
    }

    void TypeInto(QLineEdit* field, const QString& text)
    {
        field->setFocus();
        QApplication::processEvents();
        field->selectAll();
        QTest::keyClicks(field, text);
    }

    QString UndoText() const { return frame_->Action(ID_EDIT_UNDO)->text(); }
};

}  // namespace

TEST_F(FieldUndo, CtrlZInAPageFieldAfterEnterUndoesTheMissionsStep)
{
    const Vector3 start = barrel_->GetTranslation();
    QLineEdit* x = PageFieldX();
    const QString shown = x->text();
    TypeInto(x, "7.5");
    EXPECT_EQ(UndoText(), "&Отменить\tCtrl+Z");  // the field's typing
    QTest::keyClick(x, Qt::Key_Return);
    ASSERT_EQ(barrel_->GetTranslation().x, 7.5f);
    EXPECT_EQ(UndoText(), "&Отменить перемещение barrel_1\tCtrl+Z");

    QTest::keyClick(x, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(barrel_->GetTranslation(), start);
    EXPECT_EQ(x->text(), shown);  // the field does not lie
    EXPECT_TRUE(x->hasFocus());
    QTest::keyClick(x, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(barrel_->GetTranslation().x, 7.5f);
    EXPECT_EQ(x->text(), "7.5");

    // New typing is the field's own again, back to what was applied.
    QTest::keyClicks(x, "1");
    EXPECT_EQ(UndoText(), "&Отменить\tCtrl+Z");
    QTest::keyClick(x, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(x->text(), "7.5");
    EXPECT_EQ(barrel_->GetTranslation().x, 7.5f);
    EXPECT_EQ(UndoText(), "&Отменить перемещение barrel_1\tCtrl+Z");
    frame_->Action(ID_EDIT_UNDO)->trigger();  // the menu, as the keys
    EXPECT_EQ(barrel_->GetTranslation(), start);
}

TEST_F(FieldUndo, CtrlZInTheInfoWindowAfterApplyUndoesTheMissionsStep)
{
    frame_->OnObjectInfo();
    auto* form = frame_->findChild<CGenericInfoFormView*>();
    ASSERT_NE(form, nullptr);
    const Vector3 start = barrel_->GetTranslation();
    auto* x = qobject_cast<QLineEdit*>(form->Control(CGenericInfoFormView::IDC_TRANSLATION_X));
    TypeInto(x, "7.5");
    QTest::mouseClick(static_cast<QPushButton*>(form->Control(CGenericInfoFormView::IDC_APPLY)), Qt::LeftButton);
    ASSERT_EQ(barrel_->GetTranslation().x, 7.5f);
    x->setFocus();
    QTest::keyClick(x, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(barrel_->GetTranslation(), start);
}
