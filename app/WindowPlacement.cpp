#include "app/WindowPlacement.h"

#include <algorithm>

namespace {

constexpr int kTitleBand = 24;
constexpr int kGrabWidth = 64;
constexpr int kGrabHeight = 8;
constexpr int kSmallestWindow = 100;

}  // namespace

QRect DefaultWindowPlace(const QRect& available)
{
    return QRect(available.topLeft() + QPoint(available.width() / 8, available.height() / 8),
                 available.size() * 3 / 4);
}

bool LiesOnAScreen(const QRect& window, const QList<QRect>& screens)
{
    const QRect band(window.topLeft(), QSize(window.width(), std::min(window.height(), kTitleBand)));
    return std::ranges::any_of(screens, [&band](const QRect& screen) {
        const QRect shown = band & screen;
        return shown.width() >= std::min(kGrabWidth, band.width()) &&
               shown.height() >= std::min(kGrabHeight, band.height());
    });
}

QRect PlaceSavedWindow(const QRect& saved, const QList<QRect>& screens, const QRect& primary)
{
    if (saved.width() < kSmallestWindow || saved.height() < kSmallestWindow)
        return DefaultWindowPlace(primary);
    if (LiesOnAScreen(saved, screens))
        return saved;
    const QSize size = saved.size().boundedTo(primary.size());
    return QRect(primary.topLeft() + QPoint((primary.width() - size.width()) / 2, (primary.height() - size.height()) / 2),
                 size);
}
