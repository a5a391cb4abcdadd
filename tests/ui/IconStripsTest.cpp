#include "ui/CommandIds.h"
#include "ui/IconStrips.h"

#include <QImage>

#include <gtest/gtest.h>

#include <set>

using namespace ui;

namespace {

QImage Cell(const QPixmap& strip, int index)
{
    return strip.copy(index * kIconSize, 0, kIconSize, kIconSize).toImage();
}

bool HasPaint(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return true;
    return false;
}

}  // namespace

TEST(IconStrips, TreeStripHoldsNineteenDistinctPictures)
{
    const QPixmap strip = ItemIconStrip();
    ASSERT_EQ(strip.size(), QSize(kIconSize * kItemIconCount, kIconSize));
    std::set<QByteArray> seen;
    for (int i = 0; i < kItemIconCount; ++i) {
        const QImage cell = Cell(strip, i);
        EXPECT_TRUE(HasPaint(cell)) << "image " << i;
        const QByteArray bytes(reinterpret_cast<const char*>(cell.constBits()), cell.sizeInBytes());
        EXPECT_TRUE(seen.insert(bytes).second) << "image " << i << " repeats another";
    }
}

TEST(IconStrips, CornersStayTransparentWhereThePictureLeavesThem)
{
    // The hat of a thing without data sits low in its cell: the top row is background.
    const QImage hat = Cell(ItemIconStrip(), ICON_THING);
    for (int x = 0; x < kIconSize; ++x)
        EXPECT_EQ(qAlpha(hat.pixel(x, 0)), 0);
}

TEST(IconStrips, IconOutsideTheStripIsEmpty)
{
    const QPixmap strip = TabIconStrip();
    ASSERT_EQ(strip.width(), kIconSize * kTabIconCount);
    EXPECT_FALSE(IconFromStrip(strip, 0).isNull());
    EXPECT_FALSE(IconFromStrip(strip, kTabIconCount - 1).isNull());
    EXPECT_TRUE(IconFromStrip(strip, kTabIconCount).isNull());
    EXPECT_TRUE(IconFromStrip(strip, -1).isNull());
}

TEST(IconStrips, EveryToolbarButtonHasAPicture)
{
    for (int id : {ID_FILE_NEW, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_UNDO, ID_EDIT_REDO, ID_FILE_PRINT,
                   ID_APP_ABOUT, ID_CONTEXT_HELP})
        EXPECT_FALSE(ToolbarIcon(id).isNull()) << id;
    EXPECT_TRUE(ToolbarIcon(ID_SAVE_MISSION).isNull());
    EXPECT_FALSE(ApplicationIcon().isNull());
}
