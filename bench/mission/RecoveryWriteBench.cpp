// A recovery copy of a mission at the scale of the game's largest (10,000 things,
// BenchGame.h): the part the interface thread pays (the mission's bytes taken into
// memory and handed to the writer), the part the writer's thread pays (the copy and
// its description written and flushed to disk), the whole write, reading a copy
// back into objects as recovery at start-up does, and the "Восстановление" step that
// takes them as the mission's state. One write per sample, so that the
// minimum, median and maximum are those of single writes.
//
// usage: verdax_bench_recovery [--prefix DIR] [benchmark options]
//   --prefix DIR  keep the generated game in DIR (reused by later runs)

#include "bench/mission/BenchGame.h"
#include "bench/support/BenchPrefix.h"
#include "bench/support/FreshRuns.h"
#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "game/CRecoveryStore.h"
#include "game/CRecoveryWriter.h"
#include "game/RecoveredMission.h"
#include "game/CStructureEdit.h"
#include "game/RecoveryEdit.h"
#include "model/CTextureManager.h"

#include <benchmark/benchmark.h>

#include <optional>

namespace {

namespace fs = std::filesystem;

CBenchGame* g_game = nullptr;
CMission* g_mission = nullptr;
CRecoveryStore* g_store = nullptr;
// One writer for all samples, as the editor has: its memory serves later writes.
CRecoveryWriter* g_writer = nullptr;

constexpr int kSamples = 15;

void Repeated(benchmark::internal::Benchmark* benchmark)
{
    const auto least = [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); };
    const auto most = [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); };
    benchmark->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(kSamples)
        ->ComputeStatistics("min", least)
        ->ComputeStatistics("max", most)
        ->ReportAggregatesOnly(true)
        ->UseRealTime();
}

const std::string& Install()
{
    return g_game->Root().GetInstallFolder();
}

// Interface thread: the mission's bytes taken into fresh memory (with the size of
// the last copy reserved), as the first write of a session takes them.
void BM_RecoverySnapshotFreshMemory(benchmark::State& state)
{
    std::size_t last = 0;
    for (auto _ : state) {
        const std::int64_t faults = bench::MinorFaults();
        RecoverySnapshot snapshot = TakeRecoverySnapshot(*g_mission, Install(), 1, last);
        state.counters["faults"] = static_cast<double>(bench::MinorFaults() - faults);
        state.PauseTiming();  // the writer's thread frees it
        last = snapshot.Bytes().size();
        state.counters["MiB"] = static_cast<double>(last) / (1 << 20);
        snapshot = {};
        state.ResumeTiming();
    }
}

// Interface thread through the writer, as the editor's later writes pay it: taking
// the bytes into the memory of an earlier write and queueing them; the write
// itself is waited for outside the timing.
void BM_RecoveryInterfaceThread(benchmark::State& state)
{
    CRecoveryWriter& writer = *g_writer;
    for (auto _ : state) {
        const std::int64_t faults = bench::MinorFaults();
        writer.WriteMission(*g_mission, Install(), 1);
        state.counters["faults"] = static_cast<double>(bench::MinorFaults() - faults);
        state.PauseTiming();
        writer.WaitUntilIdle();
        state.ResumeTiming();
    }
}

// The writer's thread: the copy and its description replaced and flushed.
void BM_RecoveryStoreWrite(benchmark::State& state)
{
    const RecoverySnapshot snapshot = TakeRecoverySnapshot(*g_mission, Install(), 1);
    for (auto _ : state)
        g_store->Write(snapshot);
}

// The whole write, from the interface thread's call until the copy is on disk.
void BM_RecoveryWholeWrite(benchmark::State& state)
{
    CRecoveryWriter& writer = *g_writer;
    for (auto _ : state) {
        writer.WriteMission(*g_mission, Install(), 1);
        writer.WaitUntilIdle();
    }
}

// Start-up: a left copy checked and read back into objects (the things' models
// found in the geometry cache that the mission's own load filled).
void BM_RecoveryRead(benchmark::State& state)
{
    CRecoveryStore killed(g_store->Folder(), {1, 1, "a gone editor"}, [](const auto&) { return false; });
    killed.Write(TakeRecoverySnapshot(*g_mission, Install(), 1));
    const RecoveryEntry entry = g_store->List(Install()).left.at(0);
    for (auto _ : state) {
        RecoveredMission recovered = ReadRecoveredMission(*g_store, entry, *g_mission, g_game->Root());
        if (!recovered.objects)
            state.SkipWithError(recovered.failure.c_str());
        state.PauseTiming();
        recovered = {};
        state.ResumeTiming();
    }
    g_store->Remove(entry);
}

// Start-up, "Восстановить": a copy in which a hundred things moved, compared with the
// mission's own save read back and taken as its state in one step. The step is
// undone outside the timing, so that every sample starts from the loaded mission.
void BM_RecoveryRestoreStep(benchmark::State& state)
{
    const auto& things = g_mission->GetThings();
    const std::size_t stride = std::max<std::size_t>(1, things.size() / 100);
    std::vector<Vector3> moved;
    for (std::size_t i = 0; i < things.size(); i += stride) {
        moved.push_back(things[i]->GetTranslation());
        things[i]->SetTranslation({moved.back().x + 1, moved.back().y, moved.back().z});
    }
    CRecoveryStore killed(g_store->Folder(), {1, 1, "a gone editor"}, [](const auto&) { return false; });
    killed.Write(TakeRecoverySnapshot(*g_mission, Install(), 1));
    for (std::size_t i = 0, k = 0; i < things.size(); i += stride)
        things[i]->SetTranslation(moved[k++]);
    const RecoveryEntry entry = g_store->List(Install()).left.at(0);
    for (auto _ : state) {
        state.PauseTiming();
        RecoveredMission recovered = ReadRecoveredMission(*g_store, entry, *g_mission, g_game->Root());
        if (!recovered.objects) {
            state.SkipWithError(recovered.failure.c_str());
            break;
        }
        state.ResumeTiming();
        std::unique_ptr<CStructureEdit> step = MakeRecoveryEdit(*g_mission, *recovered.objects);
        step->Apply(CDravoDon::Instance());
        state.PauseTiming();
        state.counters["removed"] = static_cast<double>(step->RemovedObjects().size());
        step->Revert(CDravoDon::Instance());
        step.reset();
        recovered = {};
        state.ResumeTiming();
    }
    g_store->Remove(entry);
}

BENCHMARK(BM_RecoverySnapshotFreshMemory)->Apply(Repeated);
BENCHMARK(BM_RecoveryInterfaceThread)->Apply(Repeated);
BENCHMARK(BM_RecoveryStoreWrite)->Apply(Repeated);
BENCHMARK(BM_RecoveryWholeWrite)->Apply(Repeated);
BENCHMARK(BM_RecoveryRead)->Apply(Repeated);
BENCHMARK(BM_RecoveryRestoreStep)->Apply(Repeated);

}  // namespace

int main(int argc, char** argv)
{
    bench::FixAllocatorThresholds();
    const bench::CBenchPrefix prefix(argc, argv, "recovery");
    {
        CBenchGame game(prefix.Path());
        CMission mission(demo::kScaledMission, &game.Root());
        mission.Load();
        CRecoveryStore store(prefix.Path() / "recovery-bench");
        std::optional<CRecoveryWriter> writer(store);
        g_game = &game;
        g_mission = &mission;
        g_store = &store;
        g_writer = &*writer;
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        writer.reset();
        fs::remove_all(store.Folder());
        g_writer = nullptr;
        g_store = nullptr;
        g_mission = nullptr;
        g_game = nullptr;
        CTextureManager::Instance().Clear();
    }
    return 0;
}
