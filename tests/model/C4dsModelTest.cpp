// The 4DS reader on models spelled out byte by byte: record layouts, the frame tree,
// and every way a frame, a material or the file itself can fail.

#include "model/C4dsModel.h"

#include "core/CVerdaxException.h"
#include "tests/model/GlTestSupport.h"
#include "tests/support/BitmapBytes.h"
#include "tests/support/ModelBytes.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>

using testsupport::ByteWriter;
using testsupport::DummyFrame;
using testsupport::FileVertex;
using testsupport::FrameFields;
using testsupport::FrameHeader;
using testsupport::MaterialStart;
using testsupport::ModelMagic;

namespace {

class ModelFile : public testing::Test {
protected:
    // Writes `bytes` as a model file and loads it in path form.
    C4dsModel& Load(const ByteWriter& bytes)
    {
        const auto path = dir_.Write("model.4ds", bytes.Str());
        model_.Load(path.string(), true);
        return model_;
    }

    int LoadError(const ByteWriter& bytes)
    {
        try {
            Load(bytes);
        } catch (const CVerdaxException& e) {
            return e.GetCode();
        }
        return 0;
    }

    std::vector<std::string> FrameNames() const
    {
        std::vector<std::string> names;
        for (const auto& frame : model_.GetFrames())
            names.push_back(frame->name);
        return names;
    }

    testsupport::TempDir dir_;
    C4dsModel model_;
};

ByteWriter NoMaterials()
{
    ByteWriter w;
    ModelMagic(w).U16(0);
    return w;
}

// A visual frame with one LOD of three vertices and one face group (0, 1, 2).
ByteWriter& TriangleFrame(ByteWriter& w, std::string_view name, std::uint16_t parent, std::uint16_t material,
                          std::uint16_t lastIndex = 2)
{
    FrameFields f;
    f.type = 1;
    f.name = name;
    f.parent = parent;
    FrameHeader(w, f);
    w.U16(0);  // instance index: a mesh of its own
    w.U8(1);   // LOD count
    w.F32(25.0f).U16(3);
    FileVertex(w, 1, 2, 3, 0, 0, 1, 0.25f, 0.75f);
    FileVertex(w, 4, 5, 6, 0, 1, 0, 0.5f, 0.5f);
    FileVertex(w, 7, 8, 9, 1, 0, 0, 1.0f, 0.0f);
    w.U8(1);                                     // face groups
    w.U16(1).U16(0).U16(1).U16(lastIndex);       // one face
    return w.U16(material);
}

}  // namespace

TEST_F(ModelFile, EmptyModelLoadsWithEmptyListsAndItsHeader)
{
    ByteWriter w = NoMaterials();
    w.U16(0);
    const C4dsModel& model = Load(w);
    EXPECT_TRUE(model.IsLoaded());
    EXPECT_EQ(model.GetName(), "scene");
    EXPECT_TRUE(model.GetMaterials().empty());
    EXPECT_TRUE(model.GetFrames().empty());
    EXPECT_EQ(model.GetHeader(), (std::array<std::uint8_t, 10>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST_F(ModelFile, WrongMagicOrUnreadableFileIsRefusedAndNotLoaded)
{
    EXPECT_EQ(LoadError(ByteWriter().Bytes("4DS").U8(1).Fill(12)), VERDAX_ERR_MAGIC_4DS);
    EXPECT_FALSE(model_.IsLoaded());
    EXPECT_EQ(LoadError(ByteWriter().Bytes("4DS")), VERDAX_ERR_MAGIC_4DS);
    EXPECT_EQ(LoadError(ByteWriter()), VERDAX_ERR_MAGIC_4DS);

    EXPECT_THROW(model_.Load((dir_.Path() / "absent.4ds").string(), true), CVerdaxException);
    try {
        model_.Load(dir_.Path().string(), true);  // a folder
        FAIL();
    } catch (const CVerdaxException& e) {
        EXPECT_EQ(e.GetCode(), VERDAX_ERR_OPEN_READ);
    }
    EXPECT_FALSE(model_.IsLoaded());
}

TEST_F(ModelFile, NameFormReadsFromTheModelsFolderWithExtension)
{
    ByteWriter w = NoMaterials();
    w.U16(1);
    DummyFrame(w, "box", 0);
    dir_.Write("Models/crate.4DS", w.Str());
    const CFixedGameFolders folders(dir_.Path().string() + "/Models/", dir_.Path().string() + "/Maps/");
    SetGameFolders(&folders);
    C4dsModel model;
    model.Load("crate", false);
    SetGameFolders(nullptr);
    EXPECT_TRUE(model.IsLoaded());
    EXPECT_EQ(model.GetName(), "crate");
    ASSERT_EQ(model.GetFrames().size(), 1u);

    model.Clear();
    EXPECT_FALSE(model.IsLoaded());
    EXPECT_TRUE(model.GetName().empty());
    EXPECT_TRUE(model.GetFrames().empty());
}

// Without a GL context every texture request fails: materials get GL name 0, and the
// record layouts must still be followed byte for byte for the frame after them to be
// found.
TEST_F(ModelFile, MaterialLayoutsFollowTheirFlags)
{
    ByteWriter w;
    ModelMagic(w).U16(7);
    w.U32(0x14).Fill(14, 0x33);                          // short form: 4 + 14 bytes
    w.U32(0x01).Fill(40, 0x33).U8(0x44);                 // plain: 4 + 40 + 1 bytes
    MaterialStart(w, 0).Name8("d.bmp");                  // diffuse only
    MaterialStart(w, 0x40000000).Name8("d.bmp").Name8("a.bmp");
    MaterialStart(w, 0x41000000).Name8("d.bmp");         // alpha bit, but no alpha name
    MaterialStart(w, 0x00080000).Fill(4).Name8("env.bmp").Name8("d.bmp");
    MaterialStart(w, 0x02000000).Name8("").Fill(34, 0x55);
    w.U16(1);
    DummyFrame(w, "after", 0);

    const C4dsModel& model = Load(w);
    ASSERT_EQ(model.GetMaterials().size(), 7u);
    const auto& m = model.GetMaterials();
    for (int i : {0, 1}) {
        EXPECT_EQ(m[i].diffuseGlName, kGlNameUnset);
        EXPECT_EQ(m[i].environmentGlName, kGlNameUnset);
        EXPECT_EQ(m[i].alphaGlName, kGlNameUnset);
    }
    EXPECT_EQ(m[2].diffuseGlName, 0u);
    EXPECT_EQ(m[2].alphaGlName, kGlNameUnset);
    EXPECT_EQ(m[3].alphaGlName, 0u);
    EXPECT_EQ(m[4].alphaGlName, kGlNameUnset);
    EXPECT_EQ(m[5].environmentGlName, 0u);
    EXPECT_EQ(m[6].flags, 0x02000000u);
    EXPECT_EQ(m[6].diffuse, nullptr);
    EXPECT_EQ(FrameNames(), std::vector<std::string>{"after"});
}

TEST_F(ModelFile, MaterialCutShortDropsTheWholeTableAndKeepsTheModelLoaded)
{
    ByteWriter w;
    ModelMagic(w).U16(2);
    w.U32(0x14).Fill(14);
    MaterialStart(w, 0).U8(20).Bytes("short");  // the name runs past the end
    const C4dsModel& model = Load(w);
    EXPECT_TRUE(model.IsLoaded());
    EXPECT_TRUE(model.GetMaterials().empty());
    EXPECT_TRUE(model.GetFrames().empty());
}

TEST_F(ModelFile, VisualFrameKeepsItsLodInGlVertexOrder)
{
    ByteWriter w = NoMaterials();
    w.U16(1);
    TriangleFrame(w, "mesh", 0, 0);
    const C4dsModel& model = Load(w);
    ASSERT_EQ(model.GetFrames().size(), 1u);
    const ModelFrame& frame = *model.GetFrames()[0];
    EXPECT_EQ(frame.type, 1);
    ASSERT_EQ(frame.lods.size(), 1u);
    const ModelLod& lod = frame.lods[0];
    EXPECT_EQ(lod.distance, 25.0f);
    ASSERT_EQ(lod.vertices.size(), 3u);
    const float* first = &lod.vertices[0].u;
    EXPECT_EQ(std::vector<float>(first, first + 8), (std::vector<float>{0.25f, 0.75f, 0, 0, 1, 1, 2, 3}));
    EXPECT_EQ(lod.vertices[2].x, 7.0f);
    EXPECT_EQ(lod.vertices[2].normalX, 1.0f);
    ASSERT_EQ(lod.faceGroups.size(), 1u);
    EXPECT_EQ(lod.faceGroups[0].faceCount, 1);
    EXPECT_EQ(lod.faceGroups[0].indices, (std::vector<std::uint16_t>{0, 1, 2}));
}

TEST_F(ModelFile, InstanceFrameReadsNothingAfterItsIndex)
{
    ByteWriter w = NoMaterials();
    w.U16(2);
    FrameFields f;
    f.type = 1;
    f.visualKind = 4;
    f.name = "copy";
    FrameHeader(w, f).U16(7);
    DummyFrame(w, "next", 1);
    const C4dsModel& model = Load(w);
    ASSERT_EQ(FrameNames(), (std::vector<std::string>{"copy", "next"}));
    EXPECT_EQ(model.GetFrames()[0]->instanceIndex, 7);
    EXPECT_TRUE(model.GetFrames()[0]->lods.empty());
    EXPECT_EQ(model.GetFrames()[0]->children.size(), 1u);
}

// A dropped frame is not counted, and the next frame is read from where the failed
// one stopped.
TEST_F(ModelFile, FailedFramesAreDroppedAndReadingGoesOnFromThere)
{
    ByteWriter w = NoMaterials();
    w.U16(5);
    FrameFields refusedKind;
    refusedKind.type = 1;
    refusedKind.visualKind = 1;  // 7001: nothing of the body is read
    refusedKind.name = "kind1";
    FrameHeader(w, refusedKind);
    DummyFrame(w, "first", 0);

    // Type 7: no visual kind or parent; the position follows the type directly.
    w.U8(7);
    for (int i = 0; i < 10; ++i)
        w.F32(0.5f);
    w.U8(0).Name8("odd").Name8("");
    DummyFrame(w, "second", 0);

    // Type 18: visual kind and parent, without the two skipped bytes; no body.
    FrameFields eighteen;
    eighteen.type = 18;
    eighteen.visualKind = 0;
    eighteen.name = "t18";
    FrameHeader(w, eighteen);

    const C4dsModel& model = Load(w);
    EXPECT_TRUE(model.IsLoaded());
    EXPECT_EQ(FrameNames(), (std::vector<std::string>{"first", "second"}));
}

TEST_F(ModelFile, ParentIndexCountsOnlyKeptFrames)
{
    ByteWriter w = NoMaterials();
    w.U16(5);
    DummyFrame(w, "a", 0);
    FrameFields dropped;
    dropped.type = 9;
    dropped.name = "dropped";
    // Type 9 has no parent field: FrameHeader writes the fields in the right order.
    FrameHeader(w, dropped);
    DummyFrame(w, "b", 0);
    DummyFrame(w, "c", 1);
    DummyFrame(w, "d", 3);  // the third kept frame, "c"
    const C4dsModel& model = Load(w);
    ASSERT_EQ(FrameNames(), (std::vector<std::string>{"a", "b", "c", "d"}));
    const auto& frames = model.GetFrames();
    EXPECT_EQ(frames[0]->children, std::vector<ModelFrame*>{frames[2].get()});
    EXPECT_EQ(frames[2]->children, std::vector<ModelFrame*>{frames[3].get()});
    EXPECT_TRUE(frames[1]->children.empty());
}

TEST_F(ModelFile, ParentBeyondTheKeptFramesDropsEveryFrame)
{
    ByteWriter w = NoMaterials();
    w.U16(3);
    DummyFrame(w, "a", 0);
    DummyFrame(w, "b", 3);
    DummyFrame(w, "c", 0);
    const C4dsModel& model = Load(w);
    EXPECT_TRUE(model.IsLoaded());
    EXPECT_TRUE(model.GetFrames().empty());
}

// Frame 2 naming position 2 would be its own parent: drawing would never end.
TEST_F(ModelFile, FrameNamingItselfAsParentDropsEveryFrame)
{
    ByteWriter w = NoMaterials();
    w.U16(2);
    DummyFrame(w, "a", 0);
    DummyFrame(w, "self", 2);
    const C4dsModel& model = Load(w);
    EXPECT_TRUE(model.IsLoaded());
    EXPECT_TRUE(model.GetFrames().empty());
}

TEST_F(ModelFile, VertexIndexBeyondTheLodDropsTheFrame)
{
    ByteWriter w = NoMaterials();
    w.U16(3);
    TriangleFrame(w, "good", 0, 0);
    TriangleFrame(w, "bad", 0, 0, 3);  // index 3 of 3 vertices
    const C4dsModel& model = Load(w);
    EXPECT_EQ(FrameNames(), std::vector<std::string>{"good"});
    EXPECT_EQ(model.GetFrames()[0]->lods[0].faceGroups[0].indices.back(), 2);
}

TEST_F(ModelFile, QuaternionsBecomeAngleAndAxis)
{
    ByteWriter w = NoMaterials();
    w.U16(4);
    const float half = std::sqrt(0.5f);
    const std::vector<std::array<float, 4>> rotations = {
        {1, 0, 0, 0}, {0, 1, 0, 0}, {half, 0, half, 0}, {1.0000001f, 0, 1e-4f, 0}};
    for (const auto& q : rotations) {
        FrameFields f;
        std::copy(q.begin(), q.end(), f.rotation);
        FrameHeader(w, f).Fill(24);
    }
    const C4dsModel& model = Load(w);
    ASSERT_EQ(model.GetFrames().size(), 4u);
    EXPECT_EQ(model.GetFrames()[0]->rotation, (AxisAngle{0, 1, 0, 0}));
    EXPECT_EQ(model.GetFrames()[1]->rotation, (AxisAngle{180, -1, 0, 0}));
    const AxisAngle quarter = model.GetFrames()[2]->rotation;
    EXPECT_NEAR(quarter.angle, 90.0f, 1e-4);
    EXPECT_FLOAT_EQ(quarter.y, -1.0f);
    // w a rounding step above 1: angle 0 rather than NaN.
    EXPECT_EQ(model.GetFrames()[3]->rotation.angle, 0.0f);
}

TEST_F(ModelFile, FrameFieldsAndEmptyNamesAreKept)
{
    ByteWriter w = NoMaterials();
    w.U16(1);
    FrameFields f;
    f.type = 6;
    f.name = "";
    f.userText = "light=1";
    f.position[0] = 1.5f;
    f.scale[2] = 2.0f;
    FrameHeader(w, f);
    for (float v : {-1.0f, -2.0f, -3.0f, 4.0f, 5.0f, 6.0f})
        w.F32(v);
    const ModelFrame& frame = *Load(w).GetFrames().at(0);
    EXPECT_EQ(frame.name, "");
    EXPECT_EQ(frame.userText, "light=1");
    EXPECT_EQ(frame.position, (Vector3{1.5f, 0, 0}));
    EXPECT_EQ(frame.scale, (Vector3{1, 1, 2.0f}));
    EXPECT_EQ(frame.box.min, (Vector3{-1, -2, -3}));
    EXPECT_EQ(frame.box.max, (Vector3{4, 5, 6}));
}

TEST_F(ModelFile, SectorKeepsGeometryAndPortalsWithSignedVertexCounts)
{
    ByteWriter w = NoMaterials();
    w.U16(2);
    FrameFields f;
    f.type = 5;
    f.name = "room";
    FrameHeader(w, f);
    w.Fill(8, 0x77).U32(2).U32(1);
    w.F32(1).F32(2).F32(3).F32(4).F32(5).F32(6);
    w.U16(0).U16(1).U16(1);
    w.Fill(24);  // box
    w.U8(2);     // portals
    w.U8(2).Fill(4, 0x01).Fill(24, 0x02).F32(7).F32(8).F32(9).F32(10).F32(11).F32(12);
    w.U8(200).Fill(4).Fill(24);  // 200 as a signed byte: no vertices
    DummyFrame(w, "after", 1);

    const C4dsModel& model = Load(w);
    ASSERT_EQ(FrameNames(), (std::vector<std::string>{"room", "after"}));
    ASSERT_EQ(model.GetFrames()[0]->sectors.size(), 1u);
    const SectorData& sector = model.GetFrames()[0]->sectors[0];
    EXPECT_EQ(sector.vertices, (std::vector<Vector3>{{1, 2, 3}, {4, 5, 6}}));
    EXPECT_EQ(sector.faces, (std::vector<std::uint16_t>{0, 1, 1}));
    ASSERT_EQ(sector.portals.size(), 2u);
    EXPECT_EQ(sector.portals[0].vertices, (std::vector<Vector3>{{7, 8, 9}, {10, 11, 12}}));
    EXPECT_EQ(sector.portals[1].vertexCount, 200);
    EXPECT_TRUE(sector.portals[1].vertices.empty());
}

// Counts the file cannot back are refused before anything is allocated; the load
// finishes with the frames read before.
TEST_F(ModelFile, CountsBeyondTheFileEndTheReadingWithoutAllocating)
{
    ByteWriter sector = NoMaterials();
    sector.U16(2);
    DummyFrame(sector, "kept", 0);
    FrameFields f;
    f.type = 5;
    FrameHeader(sector, f);
    sector.Fill(8).U32(0xFFFFFFFF).U32(0xFFFFFFFF).Fill(16);
    EXPECT_EQ(Load(sector).GetFrames().size(), 1u);

    ByteWriter lod = NoMaterials();
    lod.U16(0xFFFF);  // more frames than the file holds
    DummyFrame(lod, "kept", 0);
    FrameFields visual;
    visual.type = 1;
    FrameHeader(lod, visual).U16(0).U8(1).F32(0).U16(60000).Fill(64);
    EXPECT_EQ(Load(lod).GetFrames().size(), 1u);
    EXPECT_TRUE(model_.IsLoaded());
}

TEST_F(ModelFile, FileEndingAnywhereKeepsWhatWasRead)
{
    ByteWriter whole = NoMaterials();
    whole.U16(3);
    DummyFrame(whole, "a", 0);
    TriangleFrame(whole, "b", 1, 0);
    DummyFrame(whole, "c", 2);
    for (std::size_t size = 4; size < whole.Size(); ++size) {
        ByteWriter cut;
        cut.Bytes(std::string_view(whole.Str()).substr(0, size));
        const C4dsModel& model = Load(cut);
        EXPECT_TRUE(model.IsLoaded()) << size;
        EXPECT_LE(model.GetFrames().size(), 2u) << size;
    }
    EXPECT_EQ(Load(whole).GetFrames().size(), 3u);
}

using ModelTextures = GlTextureTest;

TEST_F(ModelTextures, MaterialsShareCachedTexturesAndMissingOnesGetZero)
{
    ByteWriter bmp;
    testsupport::BitmapFields fields;
    fields.width = 1;
    fields.height = 1;
    testsupport::BitmapHeaders(bmp, fields).Bytes({1, 2, 3}).Fill(1);
    WriteMap("stone.bmp", bmp.Str());

    ByteWriter w;
    ModelMagic(w).U16(2);
    MaterialStart(w, 0x40000000).Name8("stone.bmp").Name8("nomask.bmp");
    MaterialStart(w, 0).Name8("stone.bmp");
    w.U16(0);
    const auto path = dir_.Write("m.4ds", w.Str());
    C4dsModel model;
    model.Load(path.string(), true);

    const auto& m = model.GetMaterials();
    ASSERT_EQ(m.size(), 2u);
    ASSERT_NE(m[0].diffuse, nullptr);
    EXPECT_EQ(m[0].diffuse->GetName(), "stone.bmp");
    EXPECT_EQ(m[0].diffuseGlName, m[0].diffuse->GetGlName());
    EXPECT_NE(m[0].diffuseGlName, 0u);
    EXPECT_EQ(m[0].diffuse, m[1].diffuse);
    EXPECT_EQ(m[0].alpha, nullptr);
    EXPECT_EQ(m[0].alphaGlName, 0u);
    EXPECT_EQ(CTextureManager::Instance().GetCount(), 1u);
}
