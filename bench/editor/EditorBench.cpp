// The whole editor on the large benchmark mission (bench/mission's game), as a user
// meets it on an X server (scripts/bench runs it under tests/app/with-xvfb):
// - opening the mission, beside loading it alone, in fresh editors: what a
//   double-click does (the item selected, the mission loaded, its branch built and
//   shown, the pages and the world window told) and the events that follow, except
//   the world window's first frame, which is printed apart; of the open, the
//   window's flush to the screen is printed too;
// - frames a second while an arrow key is held, over the town and in a street;
// - the cost of one mouse move of a Ctrl-drag and of a Ctrl-right-drag of a thing.
//
// usage: verdax_bench_editor [--prefix DIR] [--things N] MODE
//   --prefix DIR     the generated game (shared with verdax_bench_mission)
//   --things N       a mission of N things (10,000 without it)
//   --fresh N        N rounds of two fresh editors, one opening the mission and one
//                    only loading it; the medians and the ratio of the two
//   --fly SECONDS    three flights of SECONDS over the town and three in the street
//   --drag N         N mouse moves of each drag, three drags each
// The modes of the children --fresh starts: --open-once, --load-once.

#include "bench/editor/EditorSession.h"
#include "bench/editor/EditorTimings.h"
#include "bench/mission/BenchCameras.h"
#include "bench/mission/BenchGame.h"
#include "bench/support/BenchArguments.h"
#include "bench/support/BenchPrefix.h"
#include "bench/support/FreshRuns.h"
#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "ui/CItemTreeView.h"
#include "view3d/CGlView.h"

#include <QApplication>
#include <QEvent>

#include <chrono>
#include <cstdlib>
#include <iostream>

namespace {

namespace fs = std::filesystem;

struct Options {
    std::string once;
    int freshRounds = 0;
    double flySeconds = 0;
    int dragMoves = 0;
};

Options TakeOptions(int& argc, char** argv)
{
    Options options;
    options.freshRounds = bench::TakeNumber(argc, argv, "--fresh");
    if (const auto seconds = bench::TakeOption(argc, argv, "--fly"))
        options.flySeconds = std::atof(seconds->c_str());
    options.dragMoves = bench::TakeNumber(argc, argv, "--drag");
    for (const char* mode : {"--open-once", "--load-once"}) {
        if (bench::TakeFlag(argc, argv, mode))
            options.once = mode;
    }
    return options;
}

struct Moment {
    std::chrono::steady_clock::time_point at = std::chrono::steady_clock::now();
    double cpuMs = bench::CpuMs();
    std::int64_t faults = bench::MinorFaults();
};

bench::FreshFigure Between(const Moment& from, const Moment& to)
{
    return {std::chrono::duration<double, std::milli>(to.at - from.at).count(), to.cpuMs - from.cpuMs,
            to.faults - from.faults};
}

bench::FreshFigure Minus(const bench::FreshFigure& a, const bench::FreshFigure& b)
{
    return {a.ms - b.ms, a.cpuMs - b.cpuMs, a.faults - b.faults};
}

bench::FreshFigure Plus(const bench::FreshFigure& a, const bench::FreshFigure& b)
{
    return {a.ms + b.ms, a.cpuMs + b.cpuMs, a.faults + b.faults};
}

// What the window's painting costs during the open. The world window's frames are
// timed apart from everything else: each paint of the view is delivered here (its
// read-back waits for the software renderer's rasterising). The rest of a window's
// update is its widgets' painting and the window's flush to the screen.
class CPaintTimer final : public QObject {
public:
    explicit CPaintTimer(CGlView& view) : view_(view) { qApp->installEventFilter(this); }
    ~CPaintTimer() override { qApp->removeEventFilter(this); }
    CPaintTimer(const CPaintTimer&) = delete;
    CPaintTimer& operator=(const CPaintTimer&) = delete;

    const bench::FreshFigure& Frames() const { return frames_; }
    int FrameCount() const { return frameCount_; }
    bench::FreshFigure Flush() const { return Minus(Minus(updates_, widgetPaints_), frames_); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::UpdateRequest && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            Time(updates_, [&] { watched->event(event); });
            return true;
        }
        if (event->type() != QEvent::Paint || updating_ == 0)
            return false;
        if (watched == &view_) {
            Time(frames_, [&] { static_cast<QObject&>(view_).event(event); });
            ++frameCount_;
        } else {
            Time(widgetPaints_, [&] { watched->event(event); });
        }
        return true;
    }

private:
    template <class Body>
    void Time(bench::FreshFigure& total, const Body& body)
    {
        const Moment start;
        ++updating_;
        body();
        --updating_;
        total = Plus(total, Between(start, Moment()));
    }

    CGlView& view_;
    int updating_ = 0;
    bench::FreshFigure updates_;
    bench::FreshFigure widgetPaints_;
    bench::FreshFigure frames_;
    int frameCount_ = 0;
};

// The events the open left, as the event loop delivers them: the tree's layout and
// painting, the pages', the world window's first frame and the window's flush to
// the screen. A function of its own, so that a profiler can be told to look at it
// alone.
[[gnu::noinline]] void SettleAfterOpen()
{
    CEditorSession::Settle();
}

// The double-click on the mission's item: its first click selects the item, the
// double-click opens the mission, and the tree shows it expanded; then the events
// that follow until the editor is idle, the world window's frames apart.
int OpenOnce(CEditorSession& session, bool loadOnly)
{
    if (loadOnly) {
        bench::MeasureAndPrint("mission load", [&] { CDravoDon::Instance().GetRoot().LoadMission(&session.Mission()); });
        return 0;
    }
    ui::CItemTreeView& tree = session.Tree();
    const CPaintTimer paints(session.WorldView());
    const Moment start;
    tree.setCurrentItem(&session.MissionItem());
    tree.OpenMissionItem(&session.MissionItem());
    session.MissionItem().setExpanded(true);
    SettleAfterOpen();
    const Moment settled;
    if (paints.FrameCount() != 1) {
        std::cerr << "the world window drew " << paints.FrameCount() << " frames, where one was expected\n";
        return 1;
    }
    const bench::FreshFigure open = Minus(Between(start, settled), paints.Frames());
    bench::PrintFigure("open in the editor", open);
    bench::PrintFigure("world window's first frame", paints.Frames());
    bench::PrintFigure("of the open: the window's flush to the screen", paints.Flush());
    return session.Mission().IsLoaded() ? 0 : 1;
}

void OpenUntimed(CEditorSession& session)
{
    session.Tree().setCurrentItem(&session.MissionItem());
    session.Tree().OpenMissionItem(&session.MissionItem());
    session.MissionItem().setExpanded(true);
    CEditorSession::Settle();
}

void PrintLaps(const std::string& label, const std::vector<bench::Lap>& laps)
{
    std::vector<double> elapsed;
    std::vector<double> cpu;
    for (const bench::Lap& lap : laps) {
        elapsed.push_back(lap.elapsedMs);
        cpu.push_back(lap.cpuMs);
    }
    std::cout << "  " << label << ": " << laps.size() << " laps, elapsed " << bench::Spread(elapsed)
              << " ms, processor " << bench::Spread(cpu) << " ms\n";
}

void Fly(CEditorSession& session, double seconds)
{
    const QSize size = session.WorldView().size();
    std::cout << "frames with an arrow key held, world window " << size.width() << " x " << size.height()
              << " (a lap is the time from one buffer swap to the next):\n";
    for (const auto& [name, camera] : {std::pair{"over the town", bench::OverviewCamera()},
                                       std::pair{"in the street", bench::StreetCamera()}}) {
        for (int flight = 1; flight <= 3; ++flight) {
            const auto laps = bench::FlyWithArrowHeld(session, camera, seconds);
            double total = 0;
            for (const bench::Lap& lap : laps)
                total += lap.elapsedMs;
            std::cout << "  " << name << ", flight " << flight << ": "
                      << (total > 0 ? 1000.0 * static_cast<double>(laps.size()) / total : 0.0)
                      << " frames a second\n";
            PrintLaps(std::string(name) + ", flight " + std::to_string(flight), laps);
        }
    }
}

// A model thing in the street the street view looks along.
CSceneObjectThing* StreetThing(CMission& mission)
{
    for (const auto& thing : mission.GetThings()) {
        const Vector3 t = thing->GetTranslation();
        if (t.x == 0.0f && t.z > 2.0f && t.z < 40.0f && thing->GetModel().IsLoaded())
            return thing.get();
    }
    return nullptr;
}

int Drag(CEditorSession& session, int moves)
{
    CSceneObjectThing* thing = StreetThing(session.Mission());
    if (!thing) {
        std::cerr << "no thing in the street\n";
        return 1;
    }
    std::cout << "mouse moves of a drag of " << thing->GetName() << " or the thing in front of it"
              << " (from the event to the end of its handling, frames left out):\n";
    int status = 0;
    for (const auto& [name, button] : {std::pair{"Ctrl-drag", Qt::LeftButton}, std::pair{"Ctrl-right-drag", Qt::RightButton}}) {
        for (int drag = 1; drag <= 3; ++drag) {
            const auto laps = bench::DragThing(session, *thing, button, moves);
            if (laps.empty()) {
                std::cerr << name << ": the pick got no thing\n";
                status = 1;
            }
            PrintLaps(std::string(name) + ", drag " + std::to_string(drag), laps);
        }
    }
    return status;
}

int RunInEditor(int& argc, char** argv, const fs::path& prefix, const Options& options)
{
    CEditorSession session(argc, argv, prefix);
    if (!session.Failure().isEmpty()) {
        std::cerr << session.Failure().toStdString() << '\n';
        return 1;
    }
    if (!options.once.empty())
        return OpenOnce(session, options.once == "--load-once");
    OpenUntimed(session);
    if (!session.Mission().IsLoaded()) {
        std::cerr << "the mission did not load\n";
        return 1;
    }
    std::cout << session.Mission().GetThings().size() << " things\n";
    int status = 0;
    if (options.flySeconds > 0)
        Fly(session, options.flySeconds);
    if (options.dragMoves > 0)
        status = Drag(session, options.dragMoves);
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    bench::FixAllocatorThresholds();
    const demo::MissionScale scale = bench::TakeScale(argc, argv);
    const bench::CBenchPrefix prefix(argc, argv, "editor");
    const Options options = TakeOptions(argc, argv);
    CBenchGame::Prepare(prefix.Path(), scale);
    int status = 0;
    if (options.freshRounds > 0) {
        const std::vector<std::string> base = {"--prefix", prefix.Path().string(), "--things", std::to_string(scale.things)};
        auto with = [&](const char* mode) {
            auto arguments = base;
            arguments.emplace_back(mode);
            return arguments;
        };
        status = bench::RunFresh(options.freshRounds, {with("--load-once"), with("--open-once")},
                                 {{"open in the editor / load alone", "open in the editor", "mission load"}});
    } else {
        status = RunInEditor(argc, argv, prefix.Path(), options);
    }
    return status;
}
