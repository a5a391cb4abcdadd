// The about box: how it closes, and the version on its picture.

#include "app/CAboutDlg.h"

#include <QLabel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>
TEST(AboutDlg, ReleasingTheLeftButtonClosesItWithResultZero)
{
    CAboutDlg about;
    QTimer::singleShot(0, &about, [&about] {
        QTest::mouseClick(&about, Qt::RightButton, Qt::NoModifier, QPoint(20, 20));
        EXPECT_TRUE(about.isVisible());  // another button leaves it open
        QTest::mouseClick(&about, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    });
    about.setResult(42);
    EXPECT_EQ(about.exec(), 0);
    EXPECT_EQ(about.size(), CAboutDlg::Picture().size());  // the picture covers the box
}

// The version shows on the picture, inside the box, and a click on it closes the box
// as a click anywhere on the picture does.
TEST(AboutDlg, ShowsTheProjectsVersionInsideThePicture)
{
    CAboutDlg about;
    auto* version = about.findChild<QLabel*>(QStringLiteral("version"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), QStringLiteral("Версия ") + QStringLiteral(VERDAX_PROJECT_VERSION));
    QTimer::singleShot(0, &about, [&about, version] {
        const QRect onBox(version->mapTo(&about, QPoint(0, 0)), version->size());
        EXPECT_TRUE(version->isVisible());
        EXPECT_TRUE(about.rect().contains(onBox)) << onBox.x() << ',' << onBox.y();
        QTest::mouseClick(&about, Qt::LeftButton, Qt::NoModifier, onBox.center());
    });
    about.setResult(42);
    EXPECT_EQ(about.exec(), 0);
}
