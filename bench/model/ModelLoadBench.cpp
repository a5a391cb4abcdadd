// Loads a generated 4DS model of more than a million triangles and, in the same run,
// reads the same file's bytes raw; the load's cost over the raw read is the parser's.
//
// usage: verdax_bench_model [--fresh N] [benchmark options]
//   --fresh N  instead of the benchmarks: N rounds of two fresh processes, one loading
//              the model once and one reading its bytes once into fresh memory;
//              prints the medians with page faults and the ratio
// The modes that --fresh runs: --model PATH --load-once, --model PATH --raw-once.

#include "bench/support/FreshRuns.h"
#include "model/C4dsModel.h"
#include "model/FileBytes.h"
#include "platform/CodePage.h"
#include "tests/support/ModelBytes.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <cstdlib>
#include <map>
#include <unistd.h>

namespace {

constexpr int kFrames = 16;
constexpr int kVerticesPerLod = 50000;
constexpr int kGroupsPerLod = 4;
constexpr int kFacesPerGroup = 16384;
constexpr std::int64_t kTriangles = std::int64_t{kFrames} * kGroupsPerLod * kFacesPerGroup;
static_assert(kTriangles >= 1'000'000);

// Frames of one LOD each: a grid of vertices and triangles over it, four face groups
// each naming a material.
std::string GenerateModel()
{
    testsupport::ByteWriter w;
    testsupport::ModelMagic(w).U16(4);
    for (int m = 0; m < 4; ++m)
        w.U32(0x14).Fill(14);  // short-form materials: no textures to load
    w.U16(kFrames);
    for (int frame = 0; frame < kFrames; ++frame) {
        testsupport::FrameFields f;
        f.type = 1;
        f.name = "mesh";
        f.position[0] = static_cast<float>(frame);
        testsupport::FrameHeader(w, f);
        w.U16(0).U8(1).F32(100.0f).U16(kVerticesPerLod);
        for (int v = 0; v < kVerticesPerLod; ++v)
            testsupport::FileVertex(w, static_cast<float>(v % 250), static_cast<float>(v / 250), 0.0f, 0, 0, 1,
                                    static_cast<float>(v % 250) / 250.0f, static_cast<float>(v / 250) / 200.0f);
        w.U8(kGroupsPerLod);
        for (int group = 0; group < kGroupsPerLod; ++group) {
            w.U16(kFacesPerGroup);
            for (int face = 0; face < kFacesPerGroup; ++face) {
                const int corner = (group * kFacesPerGroup + face) % (kVerticesPerLod - 251);
                w.U16(static_cast<std::uint16_t>(corner))
                    .U16(static_cast<std::uint16_t>(corner + 1))
                    .U16(static_cast<std::uint16_t>(corner + 250));
            }
            w.U16(static_cast<std::uint16_t>(group + 1));
        }
    }
    return w.Str();
}

std::string g_givenPath;  // a child's model, written by its parent

const std::string& ModelPath()
{
    static const std::string path = [] {
        if (!g_givenPath.empty())
            return g_givenPath;
        const auto file = std::filesystem::temp_directory_path() /
                          ("verdax-bench-" + std::to_string(::getpid()) + ".4ds");
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        const std::string bytes = GenerateModel();
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file.string();
    }();
    return path;
}

void Report(benchmark::State& state)
{
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(ModelPath()));
    state.SetBytesProcessed(bytes * state.iterations());
    state.counters["triangles"] = static_cast<double>(kTriangles);
    state.counters["MiB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}

bool LoadOnce()
{
    C4dsModel model;
    model.Load(ModelPath(), true);
    benchmark::DoNotOptimize(model.GetFrames().data());
    return model.GetFrames().size() == kFrames;
}

void ReadOnce()
{
    const FileBytes file = ReadFileBytes(ModelPath());
    benchmark::DoNotOptimize(file.data.get());
}

void BM_Load4ds(benchmark::State& state)
{
    bench::TimedWithFaults(state, [&] {
        if (!LoadOnce())
            state.SkipWithError("the generated model did not load whole");
    });
    Report(state);
}

void BM_ReadRawBytes(benchmark::State& state)
{
    bench::TimedWithFaults(state, ReadOnce);
    Report(state);
}

BENCHMARK(BM_ReadRawBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load4ds)->Unit(benchmark::kMillisecond);

// Prints the usual table, then the load's time as a multiple of the raw read's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        // With repetitions the median stands for the benchmark; else its one run. The
        // processor time, so that other work on the machine does not sway the ratio.
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (single || run.aggregate_name == "median")
                times_[run.run_name.function_name] = run.GetAdjustedCPUTime();
        }
    }

    void PrintRatio() const
    {
        const auto raw = times_.find("BM_ReadRawBytes");
        const auto load = times_.find("BM_Load4ds");
        if (raw != times_.end() && load != times_.end() && raw->second > 0)
            std::cout << "load / raw read (processor time): " << load->second / raw->second << '\n';
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv)
{
    bench::FixAllocatorThresholds();
    platform::TakeAnsiCodePage();  // once, as the editor does at start-up
    int fresh = 0;
    std::string once;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--fresh" && i + 1 < argc)
            fresh = std::atoi(argv[++i]);
        else if (argument == "--model" && i + 1 < argc)
            g_givenPath = argv[++i];
        else if (argument == "--load-once" || argument == "--raw-once")
            once = argument;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    if (!once.empty()) {
        if (once == "--load-once")
            bench::MeasureAndPrint("4ds load", [] { LoadOnce(); });
        else
            bench::MeasureAndPrint("raw read", ReadOnce);
        return 0;
    }
    int status = 0;
    if (fresh > 0) {
        status = bench::RunFresh(fresh, {{"--model", ModelPath(), "--raw-once"}, {"--model", ModelPath(), "--load-once"}},
                                 {{"4ds load / raw read into fresh memory", "4ds load", "raw read"}});
    } else {
        benchmark::Initialize(&argc, argv);
        RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        reporter.PrintRatio();
        benchmark::Shutdown();
    }
    std::filesystem::remove(ModelPath());
    return status;
}
