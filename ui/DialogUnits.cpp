#include "ui/DialogUnits.h"

#include <QFontMetrics>

#include <algorithm>

namespace ui {
namespace {

// Rounded to the nearest, as MulDiv does.
int Scale(int units, int base, int divisor)
{
    const long long product = static_cast<long long>(units) * base;
    return static_cast<int>((product + (product >= 0 ? divisor / 2 : -divisor / 2)) / divisor);
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int alphabet = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = std::max(1, (alphabet / 26 + 1) / 2);
    baseY_ = std::max(1, metrics.height());
}

int DialogUnits::X(int units) const
{
    return Scale(units, baseX_, 4);
}

int DialogUnits::Y(int units) const
{
    return Scale(units, baseY_, 8);
}

QRect DialogUnits::Rect(int left, int top, int width, int height) const
{
    return {X(left), Y(top), X(width), Y(height)};
}

QSize DialogUnits::Size(int width, int height) const
{
    return {X(width), Y(height)};
}

}  // namespace ui
