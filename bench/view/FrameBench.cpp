// One frame of the world window on the large benchmark mission (scripts/bench's
// 1.12 M-triangle world, 300 textures, 10,000 things), drawn at 1280 x 800 in the
// headless context, beside the floor measured in the same run: the same triangles,
// moved into place once, drawn as one indexed draw from a buffer object. The
// overview sees the whole town from above; the street view stands in a street in
// the middle of the town and looks along it, with most of the town beside or
// behind the eye; a new view's camera stands at the origin. Then a pick at each of
// 20 points spread over the overview, as a Ctrl-click picks. The counters x_floor,
// x_overview and x_frame give the overview over the floor, the other views over the
// overview and the pick over the overview, in processor time (and _elapsed beside
// it); run them all, in this order.
//
// Beside the floor, the textured floor: the same buffer with every face group's own
// texture, the groups of each texture drawn together (one draw and one bind a
// texture), so that it samples what the frame samples; x_floor_textures gives the
// overview over it. The rest of the frame's cost over it lies in its draws and in
// their order (each change of texture, and each matrix, between two draws).
//
// The ratios above divide figures of benchmarks run one after another, a few
// iterations each, so a change of the host's speed between them moves them; and
// the floor drawn again and again takes 8,000 page faults at some of its draws
// (the GL's memory for its one large draw given back and taken again), which the
// ratios over it then lose. BM_FloorsAndFrameInTurn draws the floor, the textured
// floor and the overview in turn, fifteen rounds, and gives the medians of each
// round's own ratios: the figures to compare between runs.
//
// usage: verdax_bench_view [--prefix DIR] [--things N] [benchmark options]
//   --prefix DIR  the generated game (shared with verdax_bench_mission; written when absent)
//   --things N    a mission of N things (10,000 without it)
//   --client-arrays  models drawn from their arrays in memory, as on a GL without
//                 buffer objects
//   --2d-textures  frames bind each face group's 2D texture rather than drawing
//                 from the texture stacks, as on a GL without 3D textures

#include "bench/mission/BenchCameras.h"
#include "bench/mission/BenchGame.h"
#include "bench/support/BenchArguments.h"
#include "bench/support/BenchPrefix.h"
#include "bench/support/FreshRuns.h"
#include "game/CMission.h"
#include "model/CModelDrawCache.h"
#include "model/CTextureStacks.h"
#include "view3d/COffscreenFrame.h"
#include "view3d/CWorldRenderer.h"
#include "view3d/ViewMatrices.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <ctime>
#include <string>
#include <iostream>
#include <map>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;

struct Scene {
    CMission* mission = nullptr;
    CWorldRenderer* renderer = nullptr;
};
Scene g_scene;

using Matrix = std::array<GLfloat, 16>;

Matrix CurrentModelview()
{
    Matrix m{};
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

// Every triangle of the frame, in world coordinates, in one buffer; and its face
// groups' indices again, grouped by texture.
class CFloorMesh {
public:
    void AddModel(const C4dsModel& model)
    {
        materials_ = &model.GetMaterials();
        for (const auto& frame : model.GetFrames()) {
            if (frame->parentIndex == 0)
                AddFrame(*frame);
        }
    }

    void AddThing(const CSceneObjectThing& thing)
    {
        if (!thing.GetModel().IsLoaded())
            return;
        const Vector3 t = thing.GetTranslation();
        const AxisAngle r = thing.GetRotation();
        const Vector3 s = thing.GetScale();
        glPushMatrix();
        glTranslatef(t.x, t.y, t.z);
        glRotatef(r.angle, r.x, r.y, r.z);
        glScalef(s.x, s.y, s.z);
        AddModel(thing.GetModel());
        glPopMatrix();
    }

    void Upload()
    {
        std::vector<GLuint> byTexture;
        for (auto& [texture, indices] : indicesOfTexture_) {
            textureRanges_.push_back({texture, byTexture.size(), indices.size()});
            byTexture.insert(byTexture.end(), indices.begin(), indices.end());
        }
        glGenBuffers(3, buffers_.data());
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers_[2]);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(byTexture.size() * sizeof(GLuint)),
                     byTexture.data(), GL_STATIC_DRAW);
        glBindBuffer(GL_ARRAY_BUFFER, buffers_[0]);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices_.size() * sizeof(ModelVertex)), vertices_.data(),
                     GL_STATIC_DRAW);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers_[1]);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices_.size() * sizeof(GLuint)),
                     indices_.data(), GL_STATIC_DRAW);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    }

    void Draw() const
    {
        glBindBuffer(GL_ARRAY_BUFFER, buffers_[0]);
        glInterleavedArrays(GL_T2F_N3F_V3F, 0, nullptr);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers_[1]);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices_.size()), GL_UNSIGNED_INT, nullptr);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    }

    // The face groups of each texture with one draw, after binding it.
    void DrawByTexture() const
    {
        glBindBuffer(GL_ARRAY_BUFFER, buffers_[0]);
        glInterleavedArrays(GL_T2F_N3F_V3F, 0, nullptr);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers_[2]);
        for (const TextureRange& range : textureRanges_) {
            glBindTexture(GL_TEXTURE_2D, range.texture);
            glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(range.count), GL_UNSIGNED_INT,
                           reinterpret_cast<const void*>(range.first * sizeof(GLuint)));
        }
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    }

    std::size_t Triangles() const { return indices_.size() / 3; }
    std::size_t Textures() const { return textureRanges_.size(); }

private:
    void AddFrame(const ModelFrame& frame)
    {
        glPushMatrix();
        glTranslatef(frame.position.x, frame.position.y, frame.position.z);
        glRotatef(frame.rotation.angle, frame.rotation.x, frame.rotation.y, frame.rotation.z);
        glScalef(frame.scale.x, frame.scale.y, frame.scale.z);
        if (frame.type == FRAME_VISUAL && !frame.lods.empty())
            AddLod(frame.lods[0], CurrentModelview());
        for (const ModelFrame* child : frame.children)
            AddFrame(*child);
        glPopMatrix();
    }

    void AddLod(const ModelLod& lod, const Matrix& m)
    {
        const auto base = static_cast<GLuint>(vertices_.size());
        for (ModelVertex v : lod.vertices) {
            const float x = v.x, y = v.y, z = v.z;
            v.x = m[0] * x + m[4] * y + m[8] * z + m[12];
            v.y = m[1] * x + m[5] * y + m[9] * z + m[13];
            v.z = m[2] * x + m[6] * y + m[10] * z + m[14];
            const float nx = v.normalX, ny = v.normalY, nz = v.normalZ;
            v.normalX = m[0] * nx + m[4] * ny + m[8] * nz;
            v.normalY = m[1] * nx + m[5] * ny + m[9] * nz;
            v.normalZ = m[2] * nx + m[6] * ny + m[10] * nz;
            vertices_.push_back(v);
        }
        for (const FaceGroup& group : lod.faceGroups) {
            // Material 0 draws with the texture bound before it, as the drawing does.
            if (group.materialIndex != 0 && group.materialIndex <= materials_->size())
                texture_ = (*materials_)[group.materialIndex - 1].diffuseGlName;
            std::vector<GLuint>& ofTexture = indicesOfTexture_[texture_];
            const std::size_t count = std::min<std::size_t>(group.indices.size(), group.faceCount * std::size_t{3});
            for (std::size_t i = 0; i < group.indices.size(); ++i) {
                indices_.push_back(base + group.indices[i]);
                if (i < count)
                    ofTexture.push_back(base + group.indices[i]);
            }
        }
    }

    struct TextureRange {
        GLuint texture = 0;
        std::size_t first = 0;
        std::size_t count = 0;
    };

    const std::vector<ModelMaterial>* materials_ = nullptr;
    GLuint texture_ = 0;
    std::map<GLuint, std::vector<GLuint>> indicesOfTexture_;
    std::vector<TextureRange> textureRanges_;
    std::vector<ModelVertex> vertices_;
    std::vector<GLuint> indices_;
    std::array<GLuint, 3> buffers_{};
};

CFloorMesh* g_floor = nullptr;

// Processor time (every thread of the process: Mesa's rasterising threads too) and
// elapsed time, in seconds.
struct Seconds {
    double cpu = 0;
    double elapsed = 0;
};

// The mean of the last run of each, for the ratios the later ones report.
Seconds g_floorSeconds;
Seconds g_texturedFloorSeconds;
Seconds g_frameSeconds;  // the overview

double ProcessCpuSeconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Times the loop's laps itself, as the ratios need the figures of this run.
class CStopwatch {
public:
    void Start()
    {
        cpuStart_ = ProcessCpuSeconds();
        start_ = std::chrono::steady_clock::now();
    }
    void Stop()
    {
        total_.elapsed += std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        total_.cpu += ProcessCpuSeconds() - cpuStart_;
        ++count_;
    }
    Seconds Mean() const { return count_ ? Seconds{total_.cpu / count_, total_.elapsed / count_} : Seconds{}; }

private:
    std::chrono::steady_clock::time_point start_;
    double cpuStart_ = 0;
    Seconds total_;
    int count_ = 0;
};

// The measured over the baseline, in processor time and in elapsed time.
void SetRatio(benchmark::State& state, const std::string& name, const Seconds& measured, const Seconds& baseline)
{
    state.counters[name] = baseline.cpu > 0 ? measured.cpu / baseline.cpu : 0;
    state.counters[name + "_elapsed"] = baseline.elapsed > 0 ? measured.elapsed / baseline.elapsed : 0;
}

void FinishFrame()
{
    glFinish();
}

Seconds TimeFrames(benchmark::State& state, const Camera& camera)
{
    g_scene.renderer->GetCamera() = camera;
    CStopwatch watch;
    for (auto _ : state) {
        watch.Start();
        g_scene.renderer->Render();
        FinishFrame();
        watch.Stop();
    }
    g_scene.renderer->GetCamera() = bench::OverviewCamera();
    return watch.Mean();
}

// What the last frame drew of what the mission holds.
void CountDrawn(benchmark::State& state)
{
    const FrameCounts& counts = g_scene.renderer->LastFrameCounts();
    state.counters["things_drawn"] = static_cast<double>(counts.things);
    state.counters["world_meshes"] = static_cast<double>(counts.worldMeshes);
}

void BM_Frame(benchmark::State& state)
{
    g_frameSeconds = TimeFrames(state, bench::OverviewCamera());
    SetRatio(state, "x_floor", g_frameSeconds, g_floorSeconds);
    SetRatio(state, "x_floor_textures", g_frameSeconds, g_texturedFloorSeconds);
    state.counters["things"] = static_cast<double>(g_scene.mission->GetThings().size());
    CountDrawn(state);
}

void BM_FrameStreet(benchmark::State& state)
{
    SetRatio(state, "x_overview", TimeFrames(state, bench::StreetCamera()), g_frameSeconds);
    CountDrawn(state);
}

// A new view's camera, at the origin: what `verdax-tool render` draws without camera
// options.
void BM_FrameNewView(benchmark::State& state)
{
    SetRatio(state, "x_overview", TimeFrames(state, Camera()), g_frameSeconds);
    CountDrawn(state);
}

// The camera of the overview, as the frame sets it.
void StartFloorFrame()
{
    const Camera camera = bench::OverviewCamera();
    glClearColor(0.5f, 0.5f, 0.5f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadMatrixf(kZMirror);
    gluLookAt(camera.eye.x, camera.eye.y, camera.eye.z, camera.centre.x, camera.centre.y, camera.centre.z,
              camera.up.x, camera.up.y, camera.up.z);
    glColor3f(1.0f, 1.0f, 1.0f);
}

// The floor samples the world's first texture only.
void DrawFloor()
{
    StartFloorFrame();
    const auto& materials = g_scene.mission->GetWorldModel().GetMaterials();
    if (!materials.empty())
        glBindTexture(GL_TEXTURE_2D, materials[0].diffuseGlName);
    g_floor->Draw();
}

void DrawTexturedFloor()
{
    StartFloorFrame();
    g_floor->DrawByTexture();
}

void BM_Floor(benchmark::State& state)
{
    CStopwatch watch;
    for (auto _ : state) {
        watch.Start();
        DrawFloor();
        FinishFrame();
        watch.Stop();
    }
    g_floorSeconds = watch.Mean();
    state.counters["triangles"] = static_cast<double>(g_floor->Triangles());
}

void BM_FloorTextures(benchmark::State& state)
{
    CStopwatch watch;
    for (auto _ : state) {
        watch.Start();
        DrawTexturedFloor();
        FinishFrame();
        watch.Stop();
    }
    g_texturedFloorSeconds = watch.Mean();
    SetRatio(state, "x_floor", g_texturedFloorSeconds, g_floorSeconds);
    state.counters["textures"] = static_cast<double>(g_floor->Textures());
}

// The floor, the textured floor and the overview in turn, each round in another
// order, so that a drift of the host's speed during the run falls on all three
// alike: the medians of the rounds' own ratios, in processor time.
void BM_FloorsAndFrameInTurn(benchmark::State& state)
{
    const std::array<void (*)(), 3> draws = {DrawFloor, DrawTexturedFloor, [] { g_scene.renderer->Render(); }};
    g_scene.renderer->GetCamera() = bench::OverviewCamera();
    std::vector<double> frameOverFloor;
    std::vector<double> frameOverTextured;
    std::vector<double> texturedOverFloor;
    std::size_t round = 0;
    for (auto _ : state) {
        std::array<double, 3> cpu{};
        for (std::size_t k = 0; k < draws.size(); ++k) {
            const std::size_t which = (round + k) % draws.size();
            const double start = ProcessCpuSeconds();
            draws[which]();
            FinishFrame();
            cpu[which] = ProcessCpuSeconds() - start;
        }
        ++round;
        frameOverFloor.push_back(cpu[2] / cpu[0]);
        frameOverTextured.push_back(cpu[2] / cpu[1]);
        texturedOverFloor.push_back(cpu[1] / cpu[0]);
    }
    state.counters["x_floor"] = bench::Median(frameOverFloor);
    state.counters["x_floor_textures"] = bench::Median(frameOverTextured);
    state.counters["textured_x_floor"] = bench::Median(texturedOverFloor);
}

// One pick an iteration, at the 20 points of a 5 x 4 grid in turn.
void BM_Pick(benchmark::State& state)
{
    std::size_t hits = 0;
    int point = 0;
    CStopwatch watch;
    for (auto _ : state) {
        const int x = kWidth * (1 + 2 * (point % 5)) / 10;
        const int y = kHeight * (1 + 2 * (point / 5)) / 8;
        watch.Start();
        hits += g_scene.renderer->Pick(x, y, kWidth, kHeight) != nullptr;
        watch.Stop();
        point = (point + 1) % 20;
    }
    SetRatio(state, "x_frame", watch.Mean(), g_frameSeconds);
    state.counters["things_hit"] = benchmark::Counter(static_cast<double>(hits), benchmark::Counter::kAvgIterations);
}

}  // namespace

BENCHMARK(BM_Floor)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_FloorTextures)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_Frame)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_FrameStreet)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_FrameNewView)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_FloorsAndFrameInTurn)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(15);
BENCHMARK(BM_Pick)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(20);

int main(int argc, char** argv)
{
    const demo::MissionScale scale = bench::TakeScale(argc, argv);
    const bench::CBenchPrefix prefix(argc, argv, "view");
    if (bench::TakeFlag(argc, argv, "--client-arrays"))
        CModelDrawCache::SetBuffersAllowed(false);
    if (bench::TakeFlag(argc, argv, "--2d-textures"))
        CTextureStacks::SetAllowed(false);
    int status = 0;
    {
        CBenchGame game(prefix.Path(), scale);
        if (!game.HasGl()) {
            std::cerr << "no headless GL context: " << game.GlFailure() << '\n';
            status = 1;
        } else {
            CMission mission(demo::kScaledMission, &game.Root());
            mission.Load();
            COffscreenFrame frame(kWidth, kHeight);
            if (!frame.IsValid()) {
                std::cerr << frame.GetFailure() << '\n';
                return 1;
            }
            CWorldRenderer renderer;
            renderer.InitGl();
            glLoadIdentity();
            renderer.SetupProjection(kWidth, kHeight);
            renderer.GetCamera() = bench::OverviewCamera();
            renderer.SetCurrentObject(&mission);

            CFloorMesh floor;
            glPushMatrix();
            glLoadIdentity();
            floor.AddModel(mission.GetWorldModel());
            for (const auto& thing : mission.GetThings())
                floor.AddThing(*thing);
            glPopMatrix();
            floor.Upload();
            // The first frame uploads every model into buffer objects and stacks the
            // textures: not a steady frame.
            renderer.Render();
            glFinish();

            g_scene = {&mission, &renderer};
            g_floor = &floor;
            benchmark::Initialize(&argc, argv);
            benchmark::RunSpecifiedBenchmarks();
            benchmark::Shutdown();
            g_floor = nullptr;
            g_scene = {};
            renderer.ReleaseGl();
        }
    }
    return status;
}
