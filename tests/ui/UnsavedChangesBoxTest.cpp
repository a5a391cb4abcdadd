#include "ui/CUnsavedChangesBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace ui;

namespace {

// Presses the button of `text` in the box that will be shown, or Escape for none.
void Press(const QString& text)
{
    QTimer::singleShot(0, [text] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        if (text.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton* button : box->buttons())
            if (button->text() == text)
                button->click();
    });
}

}  // namespace

TEST(UnsavedChangesBox, ListsTheMissionsAndNamesItsButtons)
{
    CUnsavedChangesBox prompt;
    const std::unique_ptr<QMessageBox> box(prompt.MakeBox({"harbor_town", "quarry"}));
    EXPECT_EQ(box->windowTitle(), "Verdax");
    EXPECT_TRUE(box->text().contains("harbor_town\nquarry"));
    QStringList buttons;
    for (QAbstractButton* button : box->buttons())
        buttons << button->text();
    buttons.sort();
    EXPECT_EQ(buttons, QStringList({"Не сохранять", "Отмена", "Сохранить"}));
    EXPECT_EQ(box->defaultButton()->text(), "Сохранить");
}

TEST(UnsavedChangesBox, EachButtonGivesItsAnswerAndEscapeCancels)
{
    CUnsavedChangesBox prompt;
    Press("Сохранить");
    EXPECT_EQ(prompt.Ask({"harbor_town"}), UnsavedAnswer::Save);
    Press("Не сохранять");
    EXPECT_EQ(prompt.Ask({"harbor_town"}), UnsavedAnswer::Discard);
    Press("Отмена");
    EXPECT_EQ(prompt.Ask({"harbor_town"}), UnsavedAnswer::Cancel);
    Press({});
    EXPECT_EQ(prompt.Ask({"harbor_town"}), UnsavedAnswer::Cancel);
}
