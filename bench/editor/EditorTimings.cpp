#include "bench/editor/EditorTimings.h"

#include "bench/editor/EditorSession.h"
#include "bench/support/FreshRuns.h"
#include "scene/CSceneObjectThing.h"
#include "ui/CItemTreeView.h"
#include "view3d/CGlView.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <functional>
#include <sstream>

namespace bench {
namespace {

struct Moment {
    std::chrono::steady_clock::time_point at = std::chrono::steady_clock::now();
    double cpuMs = CpuMs();
};

Lap Between(const Moment& from, const Moment& to)
{
    return {std::chrono::duration<double, std::milli>(to.at - from.at).count(), to.cpuMs - from.cpuMs};
}

// Calls `shown` after each update of the view's window that painted a frame of the
// view: the window has flushed it to the screen then.
class CFrameShownFilter final : public QObject {
public:
    CFrameShownFilter(const CGlView& view, std::function<void()> shown)
        : view_(view), window_(*view.window()), shown_(std::move(shown))
    {
        window_.installEventFilter(this);
    }
    ~CFrameShownFilter() override { window_.removeEventFilter(this); }
    CFrameShownFilter(const CFrameShownFilter&) = delete;
    CFrameShownFilter& operator=(const CFrameShownFilter&) = delete;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &window_ || event->type() != QEvent::UpdateRequest)
            return false;
        const std::uint64_t before = view_.FramesShown();
        static_cast<QObject&>(window_).event(event);
        if (view_.FramesShown() != before)
            shown_();
        return true;
    }

private:
    const CGlView& view_;
    QWidget& window_;
    std::function<void()> shown_;
};

}  // namespace

std::string Spread(std::vector<double> values)
{
    if (values.empty())
        return "none";
    std::ostringstream text;
    text << Median(values) << " (" << *std::ranges::min_element(values) << " to "
         << *std::ranges::max_element(values) << ")";
    return text.str();
}

std::vector<Lap> FlyWithArrowHeld(CEditorSession& session, const Camera& camera, double seconds)
{
    CGlView& view = session.WorldView();
    view.Renderer().GetCamera() = camera;
    view.setFocus();
    view.update();
    CEditorSession::Settle();

    bool forward = true;
    auto press = [&] {
        const int key = forward ? Qt::Key_Up : Qt::Key_Down;
        forward = !forward;
        QCoreApplication::postEvent(&view, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, QString(), true));
    };
    std::vector<Lap> laps;
    Moment last;
    bool started = false;
    QEventLoop loop;
    {
        const CFrameShownFilter shown(view, [&] {
            const Moment now;
            if (started)
                laps.push_back(Between(last, now));
            started = true;
            last = now;
            press();
        });
        QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
        press();
        loop.exec();
    }
    CEditorSession::Settle();
    view.Renderer().GetCamera() = camera;
    return laps;
}

std::vector<Lap> DragThing(CEditorSession& session, CSceneObjectThing& thing, Qt::MouseButton button, int moves)
{
    CGlView& view = session.WorldView();
    session.Tree().SelectObject(&thing);
    CEditorSession::Settle();
    view.FrameSelection();
    CEditorSession::Settle();
    // A Ctrl-click picks what is nearest at the centre: the framed thing, or one
    // before it. That one is dragged then.
    const QPoint centre = view.rect().center();
    QTest::mousePress(&view, button, Qt::ControlModifier, centre);
    CEditorSession::Settle();
    if (!dynamic_cast<CSceneObjectThing*>(view.Renderer().GetSelected())) {
        QTest::mouseRelease(&view, button, Qt::ControlModifier, centre);
        return {};
    }
    std::vector<Lap> laps;
    for (int i = 0; i < moves; ++i) {
        // To and fro, so that the thing stays framed.
        const QPoint at = centre + QPoint(i % 2 == 0 ? 4 : 0, 0);
        QMouseEvent move(QEvent::MouseMove, at, view.mapToGlobal(at), Qt::NoButton, button, Qt::ControlModifier);
        const Moment before;
        QApplication::sendEvent(&view, &move);
        laps.push_back(Between(before, Moment()));
        CEditorSession::Settle();
    }
    QTest::mouseRelease(&view, button, Qt::ControlModifier, centre);
    CEditorSession::Settle();
    return laps;
}

}  // namespace bench
