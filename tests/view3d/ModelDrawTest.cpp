// C4dsModel::Draw, read back from a headless frame: the order and transforms of the
// frame tree, the texture rules of face groups, and faults that end one model.

#include "tests/view3d/DrawTestSupport.h"
#include "view3d/ModelBounds.h"

using namespace drawtest;
using testsupport::ByteWriter;

namespace {

class ModelDraw : public FlatDrawTest {};

// A 4 x 4 bitmap of four colours, each a 2 x 2 quarter of the picture.
std::string QuartersBitmap(Rgb topLeft, Rgb topRight, Rgb bottomLeft, Rgb bottomRight)
{
    ByteWriter w;
    testsupport::BitmapFields f;
    f.width = 4;
    f.height = 4;
    testsupport::BitmapHeaders(w, f);
    for (int fileRow = 0; fileRow < 4; ++fileRow) {  // the bottom row first
        for (int column = 0; column < 4; ++column) {
            const Rgb& c = fileRow < 2 ? (column < 2 ? bottomLeft : bottomRight) : (column < 2 ? topLeft : topRight);
            w.U8(c[2]).U8(c[1]).U8(c[0]);
        }
    }
    return w.Str();
}

// Each vertex's texture coordinates place the texture: u along x, v from the
// picture's top row.
TEST_F(ModelDraw, TextureCoordinatesOfTheVerticesPlaceTheTexture)
{
    WriteMap("quarters.bmp", QuartersBitmap(kRed, kGreen, kBlue, kWhite));
    ByteWriter w = ModelStart({"quarters.bmp"});
    w.U16(1);
    SquaresFrame(w, 0, {0, 0, 0}, {{0, 0, 40, 40, 1}});
    LoadModel(w)->Draw(0);
    EXPECT_EQ(Pixel(5, 5), kRed);  // u and v near 0
    EXPECT_EQ(Pixel(35, 5), kGreen);
    EXPECT_EQ(Pixel(5, 35), kBlue);
    EXPECT_EQ(Pixel(35, 35), kWhite);
}

TEST_F(ModelDraw, AChildIsDrawnUnderItsParentsTransformAfterItsMeshAndBeforeTheNextRoot)
{
    ByteWriter w = ModelStart({"red.bmp", "blue.bmp"});
    w.U16(3);
    SquaresFrame(w, 0, {10, 10, 0}, {{0, 0, 20, 20, 1}});  // red at 10..30
    SquaresFrame(w, 1, {10, 0, 0}, {{0, 0, 20, 20, 2}});   // blue at 20..40, under the parent's move
    SquaresFrame(w, 0, {25, 15, 0}, {{0, 0, 5, 5, 1}});    // the next root: red over the child
    const auto model = LoadModel(w);
    ASSERT_EQ(model->GetFrames().size(), 3u);
    const GLint depth = StackDepth();
    model->Draw(0);
    EXPECT_EQ(StackDepth(), depth);
    EXPECT_EQ(Pixel(15, 15), kRed);    // the parent alone
    EXPECT_EQ(Pixel(25, 25), kBlue);   // the child over its parent
    EXPECT_EQ(Pixel(35, 12), kBlue);   // the child alone: the parent's move and its own
    EXPECT_EQ(Pixel(27, 17), kRed);    // the next root over the child
    EXPECT_EQ(Pixel(5, 5), kBlack);
    EXPECT_EQ(Pixel(45, 20), kBlack);
}

// A frame's rotation turns its mesh about the frame's own origin, which its
// translation then moves: glTranslatef, then glRotatef. The stored quaternion
// (cos 45°, 0, 0, −sin 45°) reads as a quarter turn about +z, (x, y) → (−y, x): the
// square 0..20 × 0..10 becomes −10..0 × 0..20, moved by (30, 10) to 20..30 × 10..30.
TEST_F(ModelDraw, AFrameIsTurnedAboutItsOwnOriginThenMoved)
{
    ByteWriter w = ModelStart({"red.bmp"});
    w.U16(1);
    SquaresFrame(w, 0, {30, 10, 0}, {{0, 0, 20, 10, 1}}, {0.70710678f, 0, 0, -0.70710678f});
    LoadModel(w)->Draw(0);
    EXPECT_EQ(Pixel(25, 28), kRed);
    EXPECT_EQ(Pixel(22, 12), kRed);
    EXPECT_EQ(Pixel(40, 15), kBlack);  // where it would stand unturned
    EXPECT_EQ(Pixel(15, 20), kBlack);
    EXPECT_EQ(Pixel(25, 35), kBlack);
}

// The texture is multiplied by the current colour, so that a selected thing, drawn
// in red, shows red over its texture.
TEST_F(ModelDraw, TheTextureIsTintedByTheCurrentColour)
{
    ByteWriter w = ModelStart({"white.bmp"});
    w.U16(1);
    SquaresFrame(w, 0, {0, 0, 0}, {{0, 0, 40, 40, 1}});
    glColor3f(1, 0, 0);
    LoadModel(w)->Draw(0);
    EXPECT_EQ(Pixel(20, 20), kRed);
}

TEST_F(ModelDraw, MaterialZeroDrawsWithThePreviousGroupsTexture)
{
    ByteWriter w = ModelStart({"red.bmp", "blue.bmp"});
    w.U16(1);
    SquaresFrame(w, 0, {0, 0, 0}, {{0, 0, 10, 10, 2}, {20, 0, 30, 10, 0}});
    const auto model = LoadModel(w);
    model->Draw(0);
    EXPECT_EQ(Pixel(5, 5), kBlue);
    EXPECT_EQ(Pixel(25, 5), kBlue);
}

TEST_F(ModelDraw, AMaterialBeyondTheListEndsThisModelWithTheStackBalanced)
{
    ByteWriter bad = ModelStart({"red.bmp", "green.bmp", "blue.bmp"});
    bad.U16(3);
    SquaresFrame(bad, 0, {0, 0, 0}, {{0, 0, 10, 10, 1}});
    SquaresFrame(bad, 1, {20, 0, 0}, {{0, 0, 10, 10, 5}});  // a child: two matrices deep
    SquaresFrame(bad, 0, {40, 0, 0}, {{0, 0, 10, 10, 3}});
    const auto broken = LoadModel(bad, "bad.4ds");
    ASSERT_EQ(broken->GetFrames().size(), 3u);

    ByteWriter good = ModelStart({"green.bmp"});
    good.U16(1);
    SquaresFrame(good, 0, {0, 30, 0}, {{0, 0, 10, 10, 1}});
    const auto fine = LoadModel(good, "good.4ds");

    const GLint depth = StackDepth();
    broken->Draw(0);
    EXPECT_EQ(StackDepth(), depth);
    fine->Draw(0);
    EXPECT_EQ(Pixel(5, 5), kRed);     // drawn before the fault
    EXPECT_EQ(Pixel(25, 5), kBlack);  // the faulty group
    EXPECT_EQ(Pixel(45, 5), kBlack);  // skipped after it
    EXPECT_EQ(Pixel(5, 35), kGreen);  // the next model draws
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Mended: texturing used to stay off after such a model until the next resize.
TEST_F(ModelDraw, AModelWithoutMaterialsIsUntexturedAndLeavesTexturingOn)
{
    ByteWriter plain;
    testsupport::ModelMagic(plain).U16(0).U16(1);
    SquaresFrame(plain, 0, {0, 0, 0}, {{0, 0, 10, 10, 0}});
    const auto untextured = LoadModel(plain, "plain.4ds");
    ByteWriter w = ModelStart({"blue.bmp"});
    w.U16(1);
    SquaresFrame(w, 0, {20, 0, 0}, {{0, 0, 10, 10, 1}});
    const auto textured = LoadModel(w, "blue.4ds");

    glBindTexture(GL_TEXTURE_2D, textured->GetMaterials()[0].diffuseGlName);
    untextured->Draw(0);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    textured->Draw(0);
    EXPECT_EQ(Pixel(5, 5), kWhite);
    EXPECT_EQ(Pixel(25, 5), kBlue);
}

TEST_F(ModelDraw, AFrameTreeDeeperThanTheMatrixStackEndsTheModelBalanced)
{
    GLint maxDepth = 0;
    glGetIntegerv(GL_MAX_MODELVIEW_STACK_DEPTH, &maxDepth);
    ByteWriter w = ModelStart({"red.bmp"});
    const int frames = maxDepth + 4;
    w.U16(static_cast<std::uint16_t>(frames + 1));
    SquaresFrame(w, 0, {0, 0, 0}, {{0, 0, 10, 10, 1}});
    for (int i = 0; i < frames; ++i)
        testsupport::DummyFrame(w, "link", static_cast<std::uint16_t>(i + 1));
    const auto model = LoadModel(w);
    ASSERT_EQ(model->GetFrames().size(), static_cast<std::size_t>(frames + 1));
    const GLint depth = StackDepth();
    model->Draw(0);
    EXPECT_EQ(StackDepth(), depth);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(Pixel(5, 5), kRed);
}

TEST_F(ModelDraw, AModelWithNoFramesOrNotLoadedDrawsNothing)
{
    ByteWriter w = ModelStart({"red.bmp"});
    w.U16(0);
    const auto empty = LoadModel(w);
    const C4dsModel notLoaded;
    const GLint depth = StackDepth();
    empty->Draw(0);
    notLoaded.Draw(0);
    EXPECT_EQ(StackDepth(), depth);
    EXPECT_EQ(Pixel(5, 5), kBlack);
}


}  // namespace

namespace {

// The box that picking tests against: the vertices under the frame tree's transforms.
TEST_F(ModelDraw, AModelsBoxHoldsItsFramesUnderTheirTransforms)
{
    ByteWriter w = ModelStart({"red.bmp"});
    w.U16(2);
    SquaresFrame(w, 0, {10, 0, 0}, {{0, 0, 2, 1, 1}});
    testsupport::FrameFields child;
    child.type = 1;
    child.parent = 1;
    child.position[2] = 5;
    child.rotation[0] = 0.70710678f;  // w: a quarter turn about the frame's y
    child.rotation[2] = 0.70710678f;
    testsupport::FrameHeader(w, child);
    w.U16(0).U8(1).F32(0).U16(1);
    testsupport::FileVertex(w, 3, 0, 0, 0, 0, 1, 0, 0);
    w.U8(0);
    const auto model = LoadModel(w);
    ASSERT_EQ(model->GetFrames().size(), 2u);
    const auto box = ComputeModelBox(*model);
    ASSERT_TRUE(box.has_value());
    // The stored quaternion reads as 90 degrees about (0, -1, 0), as glRotatef turns:
    // the child's (3, 0, 0) becomes (0, 0, 3), then moves by (10, 0, 5).
    EXPECT_NEAR(box->min.x, 10, 1e-4f);
    EXPECT_NEAR(box->max.x, 12, 1e-4f);
    EXPECT_NEAR(box->max.y, 1, 1e-4f);
    EXPECT_NEAR(box->min.z, 0, 1e-4f);
    EXPECT_NEAR(box->max.z, 8, 1e-4f);
    EXPECT_FALSE(ComputeModelBox(C4dsModel()).has_value());
}

}  // namespace
