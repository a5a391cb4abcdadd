#include "ui/IconStrips.h"

#include "ui/CommandIds.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <functional>

namespace ui {
namespace {

using DrawFn = std::function<void(QPainter&)>;

const QColor kOutline(40, 40, 40);
const QColor kPaper(255, 255, 255);
const QColor kInk(70, 70, 160);
const QColor kRed(190, 30, 30);
const QColor kDarkRed(120, 10, 10);
const QColor kGrey(150, 150, 150);
const QColor kYellow(250, 210, 40);

// One 16 x 16 picture, drawn without smoothing so that every pixel is intended.
QImage DrawIcon(const DrawFn& draw)
{
    QImage image(kIconSize, kIconSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    draw(painter);
    return image;
}

QPixmap Strip(const std::vector<DrawFn>& pictures)
{
    QImage strip(kIconSize * static_cast<int>(pictures.size()), kIconSize, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    for (std::size_t i = 0; i < pictures.size(); ++i)
        painter.drawImage(static_cast<int>(i) * kIconSize, 0, DrawIcon(pictures[i]));
    painter.end();
    return QPixmap::fromImage(strip);
}

enum class SheetText { Blank, Lines, Binary };

// A sheet of paper with a folded corner inside `r`, holding lines of text or ones and zeros.
void Sheet(QPainter& p, const QRect& r, SheetText text)
{
    const int fold = 3;
    const QPolygon outline({r.topLeft(), QPoint(r.right() - fold, r.top()), QPoint(r.right(), r.top() + fold),
                            r.bottomRight(), r.bottomLeft()});
    p.setPen(kOutline);
    p.setBrush(kPaper);
    p.drawPolygon(outline);
    p.drawLine(r.right() - fold, r.top(), r.right() - fold, r.top() + fold);
    p.drawLine(r.right() - fold, r.top() + fold, r.right(), r.top() + fold);
    p.setPen(kInk);
    for (int y = r.top() + fold + 2; y < r.bottom() - 1; y += 2) {
        if (text == SheetText::Lines) {
            p.drawLine(r.left() + 2, y, r.right() - 2, y);
        } else if (text == SheetText::Binary) {
            // "1" as a short stroke, "0" as a small box, alternating by row.
            for (int x = r.left() + 2, n = y; x < r.right() - 1; x += 3, ++n) {
                if (n % 2 == 0)
                    p.drawLine(x, y - 1, x, y);
                else
                    p.drawRect(x, y - 1, 1, 1);
            }
        }
    }
}

// A hat: a wide brim and a crown, in `colour`.
void Hat(QPainter& p, int left, int top, const QColor& colour)
{
    p.setPen(kOutline);
    p.setBrush(colour);
    p.drawRect(left + 3, top, 6, 5);   // crown
    p.drawRect(left, top + 5, 12, 2);  // brim
    p.setPen(kRed);
    p.drawLine(left + 4, top + 4, left + 8, top + 4);  // band
}

void Book(QPainter& p, bool open, const QColor& cover)
{
    p.setPen(kOutline);
    if (!open) {
        p.setBrush(cover);
        p.drawRect(3, 1, 10, 13);
        p.setBrush(kPaper);
        p.drawRect(4, 14, 9, 1);  // page edges below the cover
        p.setPen(kDarkRed);
        p.drawLine(5, 2, 5, 13);  // spine
        p.setPen(kYellow);
        p.drawLine(7, 4, 11, 4);  // title
        return;
    }
    p.setBrush(cover);
    p.drawRect(0, 4, 15, 10);  // the cover under the pages
    p.setBrush(kPaper);
    p.drawRect(1, 3, 6, 10);
    p.drawRect(8, 3, 6, 10);
    p.setPen(kInk);
    for (int y = 5; y < 12; y += 2) {
        p.drawLine(2, y, 5, y);
        p.drawLine(9, y, 12, y);
    }
}

void QuestionMark(QPainter& p, const QColor& colour)
{
    p.setPen(QPen(colour, 2));
    p.drawArc(QRect(4, 1, 8, 7), 180 * 16, -270 * 16);
    p.drawLine(8, 8, 8, 10);
    p.drawPoint(8, 13);
    p.setPen(QPen(kOutline, 1));
    p.drawPoint(8, 14);
}

void Building(QPainter& p, bool withSheet)
{
    p.setPen(kOutline);
    p.setBrush(kGrey);
    p.drawRect(1, 3, 9, 12);
    p.setPen(QColor(230, 230, 230));
    for (int y = 5; y < 14; y += 3)
        for (int x = 3; x < 9; x += 3)
            p.drawPoint(x, y);
    if (withSheet)
        Sheet(p, QRect(8, 7, 7, 8), SheetText::Lines);
}

void Figure(QPainter& p, bool withSheet)
{
    p.setPen(kOutline);
    p.setBrush(QColor(240, 200, 160));
    p.drawEllipse(QRect(3, 1, 4, 4));  // head
    p.setBrush(QColor(60, 110, 200));
    p.drawRect(3, 6, 4, 5);  // body
    p.drawLine(4, 11, 3, 15);
    p.drawLine(6, 11, 7, 15);
    p.drawLine(3, 7, 1, 10);
    p.drawLine(7, 7, 9, 10);
    if (withSheet)
        Sheet(p, QRect(9, 6, 6, 9), SheetText::Lines);
}

void Folder(QPainter& p)
{
    p.setPen(kOutline);
    p.setBrush(kYellow);
    p.drawRect(1, 3, 5, 2);
    p.drawRect(1, 5, 14, 9);
}

void Gem(QPainter& p)
{
    p.setPen(kOutline);
    p.setBrush(QColor(60, 160, 220));
    p.drawPolygon(QPolygon({QPoint(8, 2), QPoint(14, 8), QPoint(8, 14), QPoint(2, 8)}));
}

std::vector<DrawFn> ItemPictures()
{
    return {
        [](QPainter& p) { QuestionMark(p, kYellow); },                                                 // 0
        [](QPainter& p) { Sheet(p, QRect(3, 1, 10, 14), SheetText::Lines); },                           // 1
        [](QPainter& p) { Sheet(p, QRect(3, 1, 10, 14), SheetText::Blank); },                           // 2
        [](QPainter& p) { Sheet(p, QRect(5, 5, 10, 10), SheetText::Lines); Hat(p, 0, 0, kPaper); },     // 3
        [](QPainter& p) { Sheet(p, QRect(5, 5, 10, 10), SheetText::Binary); Hat(p, 0, 0, kPaper); },    // 4
        [](QPainter& p) { Sheet(p, QRect(5, 5, 10, 10), SheetText::Blank); Hat(p, 0, 0, kPaper); },     // 5
        [](QPainter& p) { Hat(p, 2, 4, kPaper); },                                                      // 6
        [](QPainter& p) { Hat(p, 2, 4, QColor(50, 50, 50)); },                                          // 7
        [](QPainter& p) { Book(p, false, QColor(40, 80, 180)); },                                       // 8
        [](QPainter& p) { Book(p, false, kRed); },                                                      // 9
        [](QPainter& p) { Book(p, true, kRed); },                                                       // 10
        [](QPainter& p) { Building(p, true); },                                                         // 11
        [](QPainter& p) { Building(p, false); },                                                        // 12
        [](QPainter& p) { Sheet(p, QRect(3, 1, 10, 14), SheetText::Binary); },                          // 13
        [](QPainter& p) { Figure(p, true); },                                                           // 14
        [](QPainter& p) { Figure(p, false); },                                                          // 15
        [](QPainter& p) { Folder(p); },                                                                 // 16
        [](QPainter& p) { Gem(p); },                                                                    // 17
        [](QPainter& p) { QuestionMark(p, kGrey); },                                                    // 18
    };
}

void BookRow(QPainter& p)
{
    const QColor covers[] = {kRed, QColor(40, 80, 180), QColor(40, 140, 60), QColor(200, 140, 30)};
    p.setPen(kOutline);
    for (int i = 0; i < 4; ++i) {
        p.setBrush(covers[i]);
        p.drawRect(1 + i * 4, 2 + (i % 2), 3, 12 - (i % 2));
    }
    p.drawLine(0, 15, 15, 15);  // the shelf
}

std::vector<DrawFn> TabPictures()
{
    return {
        BookRow,
        [](QPainter& p) { Hat(p, 2, 4, kPaper); },
        [](QPainter& p) { Sheet(p, QRect(3, 1, 10, 14), SheetText::Lines); },
    };
}

void Scissors(QPainter& p)
{
    p.setPen(QPen(kOutline, 1));
    p.drawLine(4, 1, 10, 10);
    p.drawLine(11, 1, 5, 10);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kRed, 1));
    p.drawEllipse(QRect(2, 10, 4, 4));
    p.drawEllipse(QRect(9, 10, 4, 4));
}

void Clipboard(QPainter& p)
{
    p.setPen(kOutline);
    p.setBrush(QColor(170, 120, 60));
    p.drawRect(1, 2, 10, 13);
    p.setBrush(kGrey);
    p.drawRect(4, 1, 4, 2);
    Sheet(p, QRect(6, 5, 9, 10), SheetText::Lines);
}

void Printer(QPainter& p)
{
    Sheet(p, QRect(4, 1, 8, 6), SheetText::Blank);
    p.setPen(kOutline);
    p.setBrush(kGrey);
    p.drawRect(1, 7, 14, 6);
    p.setBrush(kPaper);
    p.drawRect(4, 11, 8, 4);
    p.setPen(QColor(40, 200, 40));
    p.drawPoint(13, 9);
}

void Arrow(QPainter& p)
{
    p.setPen(kOutline);
    p.setBrush(kPaper);
    p.drawPolygon(QPolygon({QPoint(1, 1), QPoint(1, 12), QPoint(4, 9), QPoint(6, 14), QPoint(8, 13), QPoint(6, 8),
                            QPoint(10, 8)}));
}

// A bent arrow pointing back to the left (undo), or mirrored, to the right (redo).
void BentArrow(QPainter& p, bool toRight)
{
    if (toRight) {
        p.translate(kIconSize, 0);
        p.scale(-1, 1);
    }
    QPainterPath bend;
    bend.moveTo(5, 6);
    bend.lineTo(9, 6);
    bend.cubicTo(14, 6, 14, 13, 9, 13);
    bend.lineTo(5, 13);
    p.setPen(QPen(kInk, 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(bend);
    p.setPen(kInk);
    p.setBrush(kInk);
    p.drawPolygon(QPolygon({QPoint(1, 6), QPoint(5, 2), QPoint(5, 10)}));
}

}  // namespace

QPixmap ItemIconStrip()
{
    return Strip(ItemPictures());
}

QPixmap TabIconStrip()
{
    return Strip(TabPictures());
}

QIcon IconFromStrip(const QPixmap& strip, int index)
{
    if (index < 0 || (index + 1) * kIconSize > strip.width())
        return {};
    return QIcon(strip.copy(index * kIconSize, 0, kIconSize, kIconSize));
}

QIcon ToolbarIcon(int commandId)
{
    DrawFn draw;
    switch (commandId) {
    case ID_FILE_NEW: draw = [](QPainter& p) { Sheet(p, QRect(3, 1, 10, 14), SheetText::Blank); }; break;
    case ID_EDIT_CUT: draw = Scissors; break;
    case ID_EDIT_COPY:
        draw = [](QPainter& p) {
            Sheet(p, QRect(1, 1, 8, 10), SheetText::Lines);
            Sheet(p, QRect(6, 5, 9, 10), SheetText::Lines);
        };
        break;
    case ID_EDIT_PASTE: draw = Clipboard; break;
    case ID_EDIT_DUPLICATE:
        draw = [](QPainter& p) {
            Sheet(p, QRect(1, 1, 9, 11), SheetText::Lines);
            p.setPen(QPen(QColor(30, 130, 40), 2));
            p.drawLine(12, 8, 12, 15);
            p.drawLine(9, 12, 15, 12);
        };
        break;
    case ID_EDIT_CLEAR:
        draw = [](QPainter& p) {
            p.setPen(QPen(kRed, 2));
            p.drawLine(3, 3, 12, 12);
            p.drawLine(12, 3, 3, 12);
        };
        break;
    case ID_FILE_PRINT: draw = Printer; break;
    case ID_EDIT_UNDO: draw = [](QPainter& p) { BentArrow(p, false); }; break;
    case ID_EDIT_REDO: draw = [](QPainter& p) { BentArrow(p, true); }; break;
    case ID_APP_ABOUT: draw = [](QPainter& p) { QuestionMark(p, QColor(30, 60, 170)); }; break;
    case ID_CONTEXT_HELP:
        draw = [](QPainter& p) {
            Arrow(p);
            p.setPen(QPen(QColor(30, 60, 170), 1));
            p.drawArc(QRect(9, 1, 5, 5), 180 * 16, -270 * 16);
            p.drawLine(12, 6, 12, 8);
            p.drawPoint(12, 11);
        };
        break;
    default: return {};
    }
    return QIcon(QPixmap::fromImage(DrawIcon(draw)));
}

QIcon ApplicationIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.scale(size / 16.0, size / 16.0);
        Book(p, true, kRed);
        p.end();
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace ui
