#pragma once
// Dialog units, in which the forms' layouts are given, turned into pixels with the
// metrics of the font the form is shown in, as the classic dialog manager does:
// a horizontal unit is a quarter of the font's average character width (taken over
// "A".."Z" and "a".."z"), a vertical unit an eighth of its height.

#include <QFont>
#include <QRect>

namespace ui {

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int X(int units) const;
    int Y(int units) const;
    QRect Rect(int left, int top, int width, int height) const;
    QSize Size(int width, int height) const;

    int BaseX() const { return baseX_; }
    int BaseY() const { return baseY_; }

private:
    int baseX_;
    int baseY_;
};

}  // namespace ui
