// The recovery question at start-up, answered with the mouse and the keyboard.

#include "ui/CRecoveryBox.h"

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

const QDateTime kSaved = QDateTime::fromSecsSinceEpoch(1765150000);

std::vector<RecoveryOfferLine> Copies(bool secondGone = false)
{
    return {{"harbor_town", kSaved, false}, {"деревня", kSaved.addSecs(-3600), secondGone}};
}

QStringList ButtonTexts(const QMessageBox& box)
{
    QStringList texts;
    for (QAbstractButton* button : box.buttons())
        texts << button->text();
    texts.sort();
    return texts;
}

// Clicks the button of `text` in the box about to be shown; Escape (or Enter) when
// `key` is given instead.
void Answer(const QString& text, Qt::Key key = Qt::Key_unknown)
{
    QTimer::singleShot(0, [text, key] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        if (key != Qt::Key_unknown) {
            QTest::keyClick(box, key);
            return;
        }
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == text)
                QTest::mouseClick(button, Qt::LeftButton);
        }
    });
}

}  // namespace

TEST(RecoveryBox, ListsEachMissionWithItsTimeAndNamesItsButtons)
{
    CRecoveryBox prompt;
    const std::unique_ptr<QMessageBox> box(prompt.MakeBox(Copies()));
    EXPECT_EQ(box->windowTitle(), "Verdax");
    const QString first = "harbor_town — " + kSaved.toLocalTime().toString("dd.MM.yyyy HH:mm:ss");
    const QString second = "деревня — " + kSaved.addSecs(-3600).toLocalTime().toString("dd.MM.yyyy HH:mm:ss");
    EXPECT_TRUE(box->text().contains(first + "\n" + second)) << box->text().toStdString();
    EXPECT_EQ(ButtonTexts(*box), QStringList({"Восстановить", "Позже", "Удалить"}));
    EXPECT_EQ(box->defaultButton()->text(), "Восстановить");
}

TEST(RecoveryBox, EachButtonGivesItsAnswerEnterRestoresAndEscapeWaits)
{
    CRecoveryBox prompt;
    Answer("Восстановить");
    EXPECT_EQ(prompt.Ask(Copies()), RecoveryAnswer::Restore);
    Answer("Удалить");
    EXPECT_EQ(prompt.Ask(Copies()), RecoveryAnswer::Remove);
    Answer("Позже");
    EXPECT_EQ(prompt.Ask(Copies()), RecoveryAnswer::Later);
    Answer({}, Qt::Key_Escape);
    EXPECT_EQ(prompt.Ask(Copies()), RecoveryAnswer::Later);
    Answer({}, Qt::Key_Return);
    EXPECT_EQ(prompt.Ask(Copies()), RecoveryAnswer::Restore);
}

// A mission whose folder is gone is marked; with no other, nothing can be restored
// and Enter does not remove anything.
TEST(RecoveryBox, CopiesOfMissionsThatAreGoneCanOnlyBeRemoved)
{
    CRecoveryBox prompt;
    std::unique_ptr<QMessageBox> box(prompt.MakeBox(Copies(true)));
    EXPECT_TRUE(box->text().contains("деревня — ")) << box->text().toStdString();
    EXPECT_TRUE(box->text().contains(" (папки миссии нет)"));
    EXPECT_EQ(ButtonTexts(*box).size(), 3);

    const std::vector<RecoveryOfferLine> gone{{"деревня", kSaved, true}};
    box.reset(prompt.MakeBox(gone));
    EXPECT_EQ(ButtonTexts(*box), QStringList({"Позже", "Удалить"}));
    Answer({}, Qt::Key_Return);
    EXPECT_EQ(prompt.Ask(gone), RecoveryAnswer::Later);
    Answer("Удалить");
    EXPECT_EQ(prompt.Ask(gone), RecoveryAnswer::Remove);
}
