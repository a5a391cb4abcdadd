// Comparing the large benchmark mission (10,000 things) with its game file, as the
// changes panel does after every edit: the mission written to memory, read back
// and compared with the game file read once before. Beside it, its parts, and the
// first comparison, which also reads the game file and what a save makes of it.
//
// usage: verdax_bench_changes [--prefix DIR] [--fresh N] [benchmark options]
//   --prefix DIR  keep the generated game in DIR (reused by later runs; the mission
//                 benchmark's game)
//   --fresh N     instead of the benchmarks: N fresh processes, each loading the
//                 mission and then timing its first comparison, a comparison after an
//                 edit and the count after a save; prints the least, median and most
//                 of each
// The mode that --fresh runs in each process: --compare-once.

#include "bench/mission/BenchGame.h"
#include "bench/support/BenchArguments.h"
#include "bench/support/BenchPrefix.h"
#include "bench/support/FreshRuns.h"
#include "game/CMission.h"
#include "game/CMissionChanges.h"
#include "model/FileBytes.h"
#include "scene/CSceneSnapshot.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <iostream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

CBenchGame* g_game = nullptr;

// The mission's objects as the editor holds them; its world model plays no part in
// a comparison and is left out.
std::unique_ptr<CMission> LoadMission()
{
    auto mission = std::make_unique<CMission>(demo::kScaledMission, &g_game->Root());
    const FileBytes file = ReadFileBytes(g_game->MissionFolder() + "scene2.bin");
    std::stringstream stream(std::string(reinterpret_cast<const char*>(file.data.get()), file.size),
                             std::ios::in | std::ios::out | std::ios::binary);
    mission->LoadFrom(stream);
    return mission;
}

CMission& Mission()
{
    static const std::unique_ptr<CMission> mission = LoadMission();
    return *mission;
}

// One thing moved back and forth, as a drag leaves it.
void EditOneThing(CMission& mission, std::int64_t step)
{
    CSceneObjectThing& thing = *mission.GetThings()[static_cast<std::size_t>(step) % mission.GetThings().size()];
    Vector3 at = thing.GetTranslation();
    at.x += step % 2 ? 1.0f : -1.0f;
    thing.SetTranslation(at);
}

// The save's output, so that the game stays as generated for the other benchmarks.
void RemoveSavedFile()
{
    fs::remove(g_game->MissionFolder() + "scene2.bin.Verdax");
}

void Check(benchmark::State& state, const SceneComparison& comparison)
{
    if (Mission().GetThings().size() != std::size_t(demo::MissionScale{}.things))
        state.SkipWithError("the generated mission did not load whole");
    state.counters["changes"] = static_cast<double>(comparison.changes.size());
    state.counters["by_save"] = static_cast<double>(CountChangesBySave(comparison));
}

// What the panel pays after each edit.
void BM_CompareAfterEdit(benchmark::State& state)
{
    CMissionChanges changes;
    changes.Compare(Mission());
    std::int64_t step = 0;
    for (auto _ : state) {
        EditOneThing(Mission(), ++step);
        benchmark::DoNotOptimize(changes.Compare(Mission()).changes.data());
    }
    Check(state, changes.Compare(Mission()));
}

// What the editor pays after each save for the status bar's word: how many objects
// the save changed by itself, the game file held since the save before. The edit and
// the save itself are not timed.
void BM_CountAfterSave(benchmark::State& state)
{
    CMissionChanges changes;
    changes.Compare(Mission());
    std::int64_t step = 0;
    std::size_t count = 0;
    for (auto _ : state) {
        state.PauseTiming();
        EditOneThing(Mission(), ++step);
        Mission().Save();
        state.ResumeTiming();
        count = CountChangesBySave(changes.Compare(Mission()));
        benchmark::DoNotOptimize(count);
    }
    state.counters["by_save"] = static_cast<double>(count);
    RemoveSavedFile();
}

// The first comparison of a mission: the game file read, and written and read again.
void BM_FirstCompare(benchmark::State& state)
{
    for (auto _ : state) {
        CMissionChanges changes;
        benchmark::DoNotOptimize(changes.Compare(Mission()).changes.data());
    }
}

// The parts of a comparison after an edit, one by one.
struct Parts {
    Parts()
    {
        const FileBytes file = ReadFileBytes(g_game->MissionFolder() + "scene2.bin");
        before.Read(std::string_view(reinterpret_cast<const char*>(file.data.get()), file.size));
        resaved.Read(before.Write());
        after.Read(before.Write(Mission()));
    }
    CSceneSnapshot before;
    CSceneSnapshot resaved;
    CSceneSnapshot after;
};

Parts& SharedParts()
{
    static Parts parts;
    return parts;
}

void BM_WriteMissionToMemory(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(SharedParts().before.Write(Mission()).data());
}

void BM_ReadWrittenMissionBack(benchmark::State& state)
{
    Parts& parts = SharedParts();
    const std::string written(parts.before.Write(Mission()));
    for (auto _ : state)
        parts.after.Read(written);
    state.SetBytesProcessed(static_cast<std::int64_t>(written.size()) * state.iterations());
}

void BM_CompareSnapshots(benchmark::State& state)
{
    Parts& parts = SharedParts();
    parts.after.Read(parts.before.Write(Mission()));
    for (auto _ : state)
        benchmark::DoNotOptimize(CompareScenes(parts.before, parts.resaved, parts.after).changes.data());
}

// Least, median and most of the repetitions, beside the mean.
template <class Benchmark>
void WithRange(Benchmark* benchmark)
{
    benchmark->Unit(benchmark::kMillisecond)
        ->Repetitions(9)
        ->ComputeStatistics("min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
        ->ComputeStatistics("max", [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); });
}

BENCHMARK(BM_CompareAfterEdit)->Apply([](auto* b) { WithRange(b); });
BENCHMARK(BM_CountAfterSave)->Apply([](auto* b) { WithRange(b); });
BENCHMARK(BM_FirstCompare)->Apply([](auto* b) { WithRange(b); });
BENCHMARK(BM_WriteMissionToMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadWrittenMissionBack)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareSnapshots)->Unit(benchmark::kMillisecond);

int CompareOnce()
{
    CMission& mission = Mission();
    CMissionChanges changes;
    bench::MeasureAndPrint("first comparison", [&] { changes.Compare(mission); });
    EditOneThing(mission, 1);
    bench::MeasureAndPrint("comparison after an edit", [&] { changes.Compare(mission); });
    EditOneThing(mission, 2);
    mission.Save();
    bench::MeasureAndPrint("count after a save", [&] { CountChangesBySave(changes.Compare(mission)); });
    RemoveSavedFile();
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    bench::FixAllocatorThresholds();
    const bench::CBenchPrefix prefix(argc, argv, "changes");
    const int freshRounds = bench::TakeNumber(argc, argv, "--fresh");
    const bool once = bench::TakeFlag(argc, argv, "--compare-once");
    int status = 0;
    {
        CBenchGame game(prefix.Path());
        g_game = &game;
        if (once) {
            status = CompareOnce();
        } else if (freshRounds > 0) {
            status = bench::RunFresh(freshRounds, {{"--prefix", prefix.Path().string(), "--compare-once"}}, {});
        } else {
            benchmark::Initialize(&argc, argv);
            benchmark::RunSpecifiedBenchmarks();
            benchmark::Shutdown();
        }
        g_game = nullptr;
    }
    return status;
}
