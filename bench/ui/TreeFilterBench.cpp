// The mission tree's filter field on one opened mission of 10,000 things (a tenth of
// them barrels), with its 2,000 thing data and 200 mission scripts: typing a word
// that matches a tenth, one that matches one thing, one that matches nothing, and
// clearing the field. Runs on Qt's offscreen platform unless another is set.

#include "game/CMission.h"
#include "platform/CodePage.h"
#include "tools/demo/SceneWriter.h"
#include "ui/CItemTreeView.h"
#include "ui/CMissionTreePane.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

namespace fs = std::filesystem;

constexpr int kThings = 10000;

std::string ThingName(int i)
{
    static const char* const kinds[] = {"barrel", "crate", "lamp", "door", "tree", "rock", "cart", "fence", "sign",
                                        "well"};
    return std::string(kinds[i % 10]) + "_" + std::to_string(i);
}

std::string LargeScene()
{
    demo::SceneFileData scene;
    for (int i = 0; i < kThings; ++i) {
        demo::SceneThing thing;
        thing.kind = demo::thing::kModel;
        thing.name = ThingName(i);
        thing.modelName = "none.4ds";
        scene.things.push_back(thing);
    }
    for (int i = 0; i < 2000; ++i) {
        demo::SceneThingData data;
        data.name = ThingName(i * 5);
        data.script = "end\r\n";
        scene.thingData.push_back(data);
    }
    for (int i = 0; i < 200; ++i)
        scene.missionScripts.push_back({1, "script_" + std::to_string(i), "end\r\n"});
    return demo::WriteScene2(scene);
}

struct Fixture {
    Fixture()
    {
        folder = fs::temp_directory_path() / ("verdax-bench-tree-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        std::ofstream(folder / "scene2.bin", std::ios::binary) << LargeScene();
        mission = std::make_unique<CMission>("metropolis", CMission::ExplicitFolder{folder.string() + "/"});
        pane.resize(300, 800);
        pane.show();
        ui::CItemTreeItem* item = pane.Tree()->AddMissionItem(mission.get());
        pane.Tree()->OpenMissionItem(item);
        item->setExpanded(true);
        QApplication::processEvents();
    }
    ~Fixture()
    {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    fs::path folder;
    std::unique_ptr<CMission> mission;  // outlives the tree's items
    ui::CMissionTreePane pane;
};

Fixture* g_fixture = nullptr;

// One filter text typed at once, then cleared; the pair is timed, and the repaint
// that follows is part of it.
void Filter(benchmark::State& state, const char* text)
{
    ui::CMissionTreePane& pane = g_fixture->pane;
    for (auto _ : state) {
        pane.SetFilter(QString::fromUtf8(text));
        QApplication::processEvents();
        state.PauseTiming();
        pane.SetFilter({});
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void Clear(benchmark::State& state)
{
    ui::CMissionTreePane& pane = g_fixture->pane;
    for (auto _ : state) {
        state.PauseTiming();
        pane.SetFilter(QStringLiteral("barrel"));
        QApplication::processEvents();
        state.ResumeTiming();
        pane.SetFilter({});
        QApplication::processEvents();
    }
}

BENCHMARK_CAPTURE(Filter, tenth_match, "barrel")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Filter, one_match, "crate_4321")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Filter, no_match, "zzz")->Unit(benchmark::kMillisecond);
BENCHMARK(Clear)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    platform::TakeAnsiCodePage();  // once, as the editor does at start-up
    benchmark::Initialize(&argc, argv);
    Fixture fixture;
    g_fixture = &fixture;
    benchmark::RunSpecifiedBenchmarks();
    g_fixture = nullptr;
    benchmark::Shutdown();
    return 0;
}
