// CScene2File::Read and Write on a generated mission of 10,000 things, 2,000 thing
// data with scripts and 200 mission scripts, beside a raw read and a raw write of
// the same bytes. The file is spelled out by the tests' byte writer, not by the
// code under measurement.

#include "scene/CScene2File.h"
#include "scene/CSceneObjectMissionScript.h"
#include "scene/CSceneObjectThing.h"
#include "scene/CSceneObjectThingData.h"
#include "scene/FileReplacement.h"
#include "scene/ISceneFileOwner.h"
#include "tests/support/ByteWriter.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

using testsupport::ByteWriter;

constexpr int kThings = 10'000;
constexpr int kThingData = 2'000;
constexpr int kMissionScripts = 200;

class BenchOwner : public ISceneFileOwner {
public:
    explicit BenchOwner(std::string folder) : folder_(std::move(folder)) {}
    std::string GetFolder() const override { return folder_; }
    void AddThing(std::unique_ptr<CSceneObjectThing> t) override { things_.push_back(std::move(t)); }
    void AddThingData(std::unique_ptr<CSceneObjectThingData> d) override { data_.push_back(std::move(d)); }
    void AddMissionScript(std::unique_ptr<CSceneObjectMissionScript> s) override { scripts_.push_back(std::move(s)); }
    const std::vector<std::unique_ptr<CSceneObjectThing>>& GetThings() const override { return things_; }
    const std::vector<std::unique_ptr<CSceneObjectThingData>>& GetThingData() const override { return data_; }
    const std::vector<std::unique_ptr<CSceneObjectMissionScript>>& GetMissionScripts() const override
    {
        return scripts_;
    }
    void Clear()
    {
        things_.clear();
        data_.clear();
        scripts_.clear();
    }

private:
    std::string folder_;
    std::vector<std::unique_ptr<CSceneObjectThing>> things_;
    std::vector<std::unique_ptr<CSceneObjectThingData>> data_;
    std::vector<std::unique_ptr<CSceneObjectMissionScript>> scripts_;
};

void Transform(ByteWriter& w, int i)
{
    w.Header(0x0020, 18).F32(i * 0.5f).F32(1.0f).F32(-i * 0.25f);
    w.Header(0x0022, 22).F32(0.9238795f).F32(0.0f).F32(-0.3826834f).F32(0.0f);
    w.Header(0x002D, 18).F32(1.0f).F32(1.0f).F32(1.0f);
    w.Header(0x002C, 18).Fill(12, 0x2C);
}

// A mix of kinds, most of them model things as in a real mission.
void Thing(ByteWriter& l, int i)
{
    l.Chunk(0x4010, [i](ByteWriter& t) {
        const std::string name = "thing_" + std::to_string(i);
        switch (i % 10) {
        case 0:
            t.ChunkText(0x0010, name);
            Transform(t, i);
            t.Chunk(0x4020, [](ByteWriter& s) { s.ChunkText(0x0010, "sector_main"); });
            break;
        case 1:
            t.ChunkU32(0x4011, 2).ChunkText(0x0010, name);
            Transform(t, i);
            t.Chunk(0x4040, [](ByteWriter& b) {
                b.ChunkU32(0x4041, 1).ChunkRaw(0x0026, std::string(12, 'a')).ChunkU32(0x4042, 2);
                b.ChunkRaw(0x4043, std::string(8, 'b')).ChunkRaw(0x4044, std::string(8, 'c'));
                b.Header(0x4045, 10).U16(1).U16(2).ChunkText(0x4046, "walk_path").ChunkText(0x4046, "idle");
            });
            break;
        case 2:
            t.ChunkU32(0x4011, 4).ChunkText(0x0010, name);
            Transform(t, i);
            t.Chunk(0x4060, [](ByteWriter& b) {
                b.ChunkText(0x0010, "door").ChunkU32(0x4061, 1).ChunkU32(0x4062, 2).ChunkU32(0x4063, 3);
                b.ChunkRaw(0x4064, std::string(8, 'd')).ChunkRaw(0x4068, std::string(16, 'e')).Header(0x4067, 6);
                b.ChunkU32(0xB800, 4).ChunkText(0xB200, "key_red").ChunkText(0xB201, "locked");
            });
            break;
        case 3:
            t.ChunkText(0x0010, name);
            Transform(t, i);
            t.ChunkRaw(0x4090, "trigger").ChunkRaw(0x40A0, std::string(40, 'f'));
            break;
        default:
            t.ChunkU32(0x4011, 9).ChunkText(0x0010, name);
            Transform(t, i);
            t.Chunk(0x4020, [](ByteWriter& s) { s.ChunkText(0x0010, "sector_main"); });
            t.ChunkText(0x2012, "model_" + std::to_string(i % 97) + ".i3d");
            break;
        }
    });
}

void ThingData(ByteWriter& l, int i)
{
    l.Chunk(0xAE21, [i](ByteWriter& d) {
        d.ChunkText(0xAE23, "thing_" + std::to_string(i * 5)).ChunkU32(0xAE22, 5);
        d.Chunk(0xAE24, [i](ByteWriter& c) {
            std::string script = "// script " + std::to_string(i) + "\n";
            for (int line = 0; line < 6; ++line)
                script += "setcompass " + std::to_string(line) + "\nwait 100\n";
            c.U32(1).U32(2).U16(3).Counted(script);
        });
    });
}

void MissionScript(ByteWriter& l, int i)
{
    l.Chunk(0xAE51, [i](ByteWriter& s) {
        std::string script;
        for (int line = 0; line < 20; ++line)
            script += "event " + std::to_string(line) + " call handler_" + std::to_string(i) + "\n";
        s.U8(1).Counted("script_" + std::to_string(i)).Counted(script);
    });
}

std::string GeneratedSceneFile()
{
    return ByteWriter()
        .Chunk(0x4C53,
               [](ByteWriter& w) {
                   w.Chunk(0x0001, [](ByteWriter& h) { h.U16(1).U16(2).Bytes("benchmark scene").U8(0); });
                   w.ChunkRaw(0xAFFF, std::string(8, 1)).ChunkRaw(0x3200, std::string(12, 2));
                   w.ChunkU32(0x3010, 3).ChunkU32(0x3011, 4).ChunkRaw(0x3211, std::string(8, 5));
                   w.Chunk(0x4000, [](ByteWriter& l) {
                       for (int i = 0; i < kThings; ++i)
                           Thing(l, i);
                   });
                   w.Chunk(0xAE20, [](ByteWriter& l) {
                       for (int i = 0; i < kThingData; ++i)
                           ThingData(l, i);
                   });
                   w.ChunkRaw(0xAE02, std::string(64, 6));
                   w.Chunk(0xAE50, [](ByteWriter& l) {
                       for (int i = 0; i < kMissionScripts; ++i)
                           MissionScript(l, i);
                   });
               })
        .Str();
}

// One folder with the generated "scene2.bin" for the whole run.
struct Fixture {
    Fixture()
    {
        folder = std::filesystem::temp_directory_path() / ("verdax-bench-scene-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        bytes = GeneratedSceneFile();
        std::ofstream(folder / "scene2.bin", std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    ~Fixture() { std::filesystem::remove_all(folder); }
    std::string FolderText() const { return folder.string() + "/"; }

    std::filesystem::path folder;
    std::string bytes;
};

Fixture& TheFixture()
{
    static Fixture fixture;
    return fixture;
}

void SetBytes(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * TheFixture().bytes.size()));
    state.counters["file_bytes"] = static_cast<double>(TheFixture().bytes.size());
}

void BM_SceneRead(benchmark::State& state)
{
    BenchOwner owner(TheFixture().FolderText());
    for (auto _ : state) {
        CScene2File file;
        file.SetOwner(&owner);
        file.Read();
        state.PauseTiming();
        owner.Clear();
        state.ResumeTiming();
    }
    SetBytes(state);
}

void BM_RawRead(benchmark::State& state)
{
    const auto path = TheFixture().folder / "scene2.bin";
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        std::string buffer(TheFixture().bytes.size(), '\0');
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        benchmark::DoNotOptimize(buffer.data());
    }
    SetBytes(state);
}

void BM_SceneWrite(benchmark::State& state)
{
    BenchOwner owner(TheFixture().FolderText());
    CScene2File file;
    file.SetOwner(&owner);
    file.Read();
    for (auto _ : state)
        file.Write();
    SetBytes(state);
}

// The same replacement (temporary file, flush to disk, rename) as the scene file's.
void BM_RawWriteReplace(benchmark::State& state)
{
    const auto path = TheFixture().folder / "raw.out";
    for (auto _ : state)
        benchmark::DoNotOptimize(ReplaceFileContent(path, TheFixture().bytes));
    SetBytes(state);
}

// A plain write with no flush to disk.
void BM_RawWritePlain(benchmark::State& state)
{
    const auto path = TheFixture().folder / "raw.plain";
    for (auto _ : state) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(TheFixture().bytes.data(), static_cast<std::streamsize>(TheFixture().bytes.size()));
    }
    SetBytes(state);
}

// The walks alone, on memory: what the file I/O adds is the difference.
void BM_SceneReadFromMemory(benchmark::State& state)
{
    BenchOwner owner("");
    for (auto _ : state) {
        std::stringstream stream(TheFixture().bytes);
        CScene2File file;
        file.SetOwner(&owner);
        file.ReadFrom(stream);
        state.PauseTiming();
        owner.Clear();
        state.ResumeTiming();
    }
    SetBytes(state);
}

void BM_SceneWriteToMemory(benchmark::State& state)
{
    BenchOwner owner(TheFixture().FolderText());
    CScene2File file;
    file.SetOwner(&owner);
    file.Read();
    for (auto _ : state) {
        std::stringstream stream;
        file.WriteTo(stream);
        benchmark::DoNotOptimize(stream);
    }
    SetBytes(state);
}

BENCHMARK(BM_SceneRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SceneWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawWriteReplace)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawWritePlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SceneReadFromMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SceneWriteToMemory)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
