// What the world window leaves out, read back from a headless frame: frames and
// things outside the view are not drawn, yet every picture stays the same, textures
// bound by what was left out included; and buffer objects draw what client arrays do.

#include "game/CMission.h"
#include "model/CModelDrawCache.h"
#include "tests/view3d/DrawTestSupport.h"
#include "view3d/CWorldRenderer.h"

#include <memory>

using namespace drawtest;
using testsupport::ByteWriter;

namespace {

Matrix4 CurrentClip()
{
    Matrix4 projection{};
    Matrix4 modelview{};
    glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview.data());
    return Multiply(projection, modelview);
}

class ViewCulling : public FlatDrawTest {
protected:
    void TearDown() override
    {
        CModelDrawCache::SetBuffersAllowed(true);
        FlatDrawTest::TearDown();
    }

    GLuint TextureOf(const std::string& name) { return CTextureManager::Instance().GetTexture(name).GetGlName(); }
};

// The frame far to the left lies outside the 64 x 64 view; its red binding still
// reaches the next frame's group of material 0, as when everything is drawn.
TEST_F(ViewCulling, AFrameOutsideTheViewIsLeftOutButStillBindsItsTexture)
{
    ByteWriter w = ModelStart({"red.bmp", "green.bmp"});
    w.U16(3);
    SquaresFrame(w, 0, {-100, 0, 0}, {{0, 0, 10, 10, 1}});
    SquaresFrame(w, 0, {10, 10, 0}, {{0, 0, 10, 10, 0}});
    SquaresFrame(w, 0, {60, 30, 0}, {{0, 0, 10, 10, 2}});  // half in view: drawn
    const auto model = LoadModel(w);
    glBindTexture(GL_TEXTURE_2D, TextureOf("blue.bmp"));
    EXPECT_EQ(model->DrawInView(0, CurrentClip()), 2u);
    EXPECT_EQ(Pixel(15, 15), kRed);
    EXPECT_EQ(Pixel(62, 35), kGreen);
    const auto inView = frame_->ReadRgb();

    glClear(GL_COLOR_BUFFER_BIT);
    glBindTexture(GL_TEXTURE_2D, TextureOf("blue.bmp"));
    model->Draw(0);
    EXPECT_EQ(frame_->ReadRgb(), inView);
}

TEST_F(ViewCulling, ASkippedModelDrawsNothingButBindsAsADrawWould)
{
    ByteWriter first = ModelStart({"green.bmp", "red.bmp"});
    first.U16(1);
    SquaresFrame(first, 0, {0, 0, 0}, {{0, 0, 10, 10, 1}, {20, 0, 30, 10, 2}});
    const auto skipped = LoadModel(first, "first.4ds");
    ByteWriter second = ModelStart({"blue.bmp"});
    second.U16(1);
    SquaresFrame(second, 0, {0, 30, 0}, {{0, 0, 10, 10, 0}});
    const auto next = LoadModel(second, "second.4ds");
    const GLint depth = StackDepth();
    skipped->SkipDraw(0);
    EXPECT_EQ(StackDepth(), depth);
    next->Draw(0);
    EXPECT_EQ(Pixel(5, 5), kBlack);
    EXPECT_EQ(Pixel(25, 5), kBlack);
    EXPECT_EQ(Pixel(5, 35), kRed);  // the last binding of the skipped model
}

// Three meshes in one buffer, the first of two face groups, each drawn from its own
// place in it: the picture is the one client arrays draw.
TEST_F(ViewCulling, BufferObjectsDrawWhatClientArraysDraw)
{
    ByteWriter w = ModelStart({"red.bmp", "green.bmp", "blue.bmp"});
    w.U16(3);
    SquaresFrame(w, 0, {5, 5, 0}, {{0, 0, 20, 10, 1}, {0, 12, 20, 20, 0}});
    SquaresFrame(w, 1, {25, 0, 0}, {{0, 0, 10, 30, 2}});
    SquaresFrame(w, 0, {40, 40, 0}, {{0, 0, 15, 15, 3}});
    const auto model = LoadModel(w);
    model->Draw(0);
    EXPECT_NE(CModelDrawCache::Instance().Get(model->GetGeometry()).vertexBuffer, 0u);
    const auto fromBuffers = frame_->ReadRgb();
    EXPECT_EQ(Pixel(15, 20), kRed);
    EXPECT_EQ(Pixel(35, 20), kGreen);
    EXPECT_EQ(Pixel(45, 45), kBlue);

    CModelDrawCache::Instance().Clear(true);
    CModelDrawCache::SetBuffersAllowed(false);
    glClear(GL_COLOR_BUFFER_BIT);
    model->Draw(0);
    EXPECT_EQ(CModelDrawCache::Instance().Get(model->GetGeometry()).vertexBuffer, 0u);
    EXPECT_EQ(frame_->ReadRgb(), fromBuffers);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The renderer leaves out a thing outside the view; the thing after it, whose group
// has material 0, still draws with the texture the left-out thing bound.
class RendererCulling : public FlatDrawTest {
protected:
    void SetUp() override
    {
        FlatDrawTest::SetUp();
        if (IsSkipped())
            return;
        renderer_.InitGl();
        glLoadIdentity();
        renderer_.SetupProjection(kSize, kSize);
        renderer_.ToggleCulling();  // the squares face either way
        renderer_.SetCurrentObject(&mission_);
        renderer_.GetCamera().centre = {0, 0, 1};  // looking along -z
    }

    void TearDown() override
    {
        renderer_.ReleaseGl();
        FlatDrawTest::TearDown();
    }

    CSceneObjectThing& AddThing(const std::string& modelPath, Vector3 at)
    {
        auto thing = std::make_unique<CSceneObjectThing>();
        thing->GetModel().Load(modelPath, true);
        thing->SetTranslation(at);
        CSceneObjectThing& added = *thing;
        mission_.AddThing(std::move(thing));
        return added;
    }

    CMission mission_{"culling", CMission::ExplicitFolder{"/nowhere/"}};
    CWorldRenderer renderer_;
};

TEST_F(RendererCulling, AThingOutsideTheViewIsLeftOutAndThePictureStaysTheSame)
{
    ByteWriter red = ModelStart({"red.bmp"});
    red.U16(1);
    SquaresFrame(red, 0, {-0.5f, -0.5f, 0}, {{0, 0, 1, 1, 1}});
    ByteWriter plain = ModelStart({"green.bmp"});
    plain.U16(1);
    SquaresFrame(plain, 0, {-1, -1, 0}, {{0, 0, 2, 2, 0}});
    const std::string redPath = dir_.Write("red.4ds", red.Str()).string();
    CSceneObjectThing& binder = AddThing(redPath, {1000, 0, -5});
    AddThing(dir_.Write("plain.4ds", plain.Str()).string(), {0, 0, -5});

    glBindTexture(GL_TEXTURE_2D, 0);
    renderer_.Render();
    EXPECT_EQ(renderer_.LastFrameCounts().things, 1u);
    const auto culled = frame_->ReadRgb();
    const Rgb middle = Pixel(kSize / 2, kSize / 2);
    EXPECT_GT(middle[0], 0);
    EXPECT_EQ(middle[1], 0);  // red, lit

    // In view but away from the middle: drawn, and the same middle.
    binder.SetTranslation({1.5f, 1.5f, -5});
    glBindTexture(GL_TEXTURE_2D, 0);
    renderer_.Render();
    EXPECT_EQ(renderer_.LastFrameCounts().things, 2u);
    EXPECT_EQ(Pixel(kSize / 2, kSize / 2), middle);
    EXPECT_NE(frame_->ReadRgb(), culled);
}

// Picking draws in selection mode, where GL takes another path to the pixels: the
// mesh under the point is the model's second, drawn from the middle of its buffer
// (drawn from the first mesh's vertices, it would lie far from the point).
TEST_F(RendererCulling, APickHitsAMeshDrawnFromTheMiddleOfItsModelsBuffer)
{
    ByteWriter w = ModelStart({"red.bmp"});
    w.U16(2);
    SquaresFrame(w, 0, {0, 0, 0}, {{100, 100, 101, 101, 1}});
    SquaresFrame(w, 0, {0, 0, 0}, {{-1, -1, 1, 1, 1}});
    CSceneObjectThing& thing = AddThing(dir_.Write("two.4ds", w.Str()).string(), {0, 0, -5});
    EXPECT_EQ(renderer_.Pick(kSize / 2, kSize / 2, kSize, kSize), &thing);
    EXPECT_EQ(renderer_.Pick(2, 2, kSize, kSize), nullptr);
}

}  // namespace
