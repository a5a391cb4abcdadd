// verdax-tool dump-model on models spelled out byte by byte: the JSON it prints,
// exactly, and its failures and usage errors.

#include "tests/support/BitmapBytes.h"
#include "tests/support/ModelBytes.h"
#include "tests/support/TempDir.h"
#include "tests/tools/RunTool.h"

#include <gtest/gtest.h>

using testsupport::ByteWriter;
using testsupport::FrameFields;
using testsupport::FrameHeader;
using testsupport::RunTool;

namespace {

// Two materials (one with a diffuse texture and a missing alpha texture, one short
// form) and four frames: a mesh with a dummy child, a sector, and an instance under
// the sector. The mesh's name is "Куб" in code page 1251.
std::string SampleModel()
{
    ByteWriter w;
    testsupport::ModelMagic(w).U16(2);
    testsupport::MaterialStart(w, 0x40000000).Name8("stone.bmp").Name8("mask.bmp");
    w.U32(0x14).Fill(14);
    w.U16(4);

    FrameFields mesh;
    mesh.type = 1;
    mesh.name = "\xCA\xF3\xE1";
    mesh.userText = "lod=1";
    mesh.position[0] = 1.5f;
    mesh.position[1] = -2.0f;
    mesh.position[2] = 0.1f;
    mesh.rotation[0] = 0.0f;  // w
    mesh.rotation[1] = 1.0f;  // x: 180 degrees about -x
    FrameHeader(w, mesh).U16(0).U8(1);
    w.F32(0.1f).U16(3);
    testsupport::FileVertex(w, 0, 0, 0, 0, 0, 1, 0, 0);
    testsupport::FileVertex(w, 1, 0, 0, 0, 0, 1, 1, 0);
    testsupport::FileVertex(w, 0, 1, 0, 0, 0, 1, 0, 1);
    w.U8(2);
    w.U16(1).U16(0).U16(1).U16(2).U16(1);  // one face, material 1
    w.U16(1).U16(2).U16(1).U16(0).U16(0);  // one face, no material

    testsupport::DummyFrame(w, "box", 1);

    FrameFields room;
    room.type = 5;
    room.name = "room";
    FrameHeader(w, room).Fill(8).U32(3).U32(1);
    for (float v : {0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f})
        w.F32(v);
    w.U16(0).U16(1).U16(2);
    for (float v : {0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f})
        w.F32(v);
    w.U8(1).U8(2).Fill(4).Fill(24).F32(0).F32(0).F32(0).F32(1).F32(1).F32(1);

    FrameFields copy;
    copy.type = 1;
    copy.visualKind = 4;
    copy.parent = 3;
    copy.name = "copy";
    FrameHeader(w, copy).U16(5);
    return w.Str();
}

// The mesh's axis is the negated vector part of its quaternion, so its zero
// components print as -0.0.
std::string ExpectedJson(const std::string& diffuse)
{
    return R"({"name":"scene","loaded":true,"materials":[)"
           R"({"flags":1073741824,"diffuse":)" + diffuse + R"(,"alpha":null},)"
           R"({"flags":20,"diffuse":null,"alpha":null}],"frames":[)"
           R"({"type":1,"visual_kind":0,"name":"Куб","user_text":"lod=1","parent":0,)"
           R"("position":[1.5,-2.0,0.1],"scale":[1.0,1.0,1.0],"rotation":[180.0,-1.0,-0.0,-0.0],"instance":0,)"
           R"("lods":[{"distance":0.1,"vertices":3,"face_groups":[{"faces":1,"material":1},{"faces":1,"material":0}]}],)"
           R"("sectors":[],"box":[0.0,0.0,0.0,0.0,0.0,0.0],"children":[1]},)"
           R"({"type":6,"visual_kind":0,"name":"box","user_text":"","parent":1,)"
           R"("position":[0.0,0.0,0.0],"scale":[1.0,1.0,1.0],"rotation":[0.0,1.0,0.0,0.0],"instance":0,)"
           R"("lods":[],"sectors":[],"box":[-1.0,-2.0,-3.0,1.0,2.0,3.0],"children":[]},)"
           R"({"type":5,"visual_kind":0,"name":"room","user_text":"","parent":0,)"
           R"("position":[0.0,0.0,0.0],"scale":[1.0,1.0,1.0],"rotation":[0.0,1.0,0.0,0.0],"instance":0,)"
           R"("lods":[],"sectors":[{"vertices":3,"faces":1,"portals":1}],"box":[0.0,0.0,0.0,0.0,0.0,0.0],)"
           R"("children":[3]},)"
           R"({"type":1,"visual_kind":4,"name":"copy","user_text":"","parent":3,)"
           R"("position":[0.0,0.0,0.0],"scale":[1.0,1.0,1.0],"rotation":[0.0,1.0,0.0,0.0],"instance":5,)"
           R"("lods":[],"sectors":[],"box":[0.0,0.0,0.0,0.0,0.0,0.0],"children":[]}]})"
           "\n";
}

class DumpModel : public testing::Test {
protected:
    void SetUp() override
    {
        model_ = dir_.Write("Models/scene.4ds", SampleModel()).string();
        ByteWriter bmp;
        testsupport::BitmapFields f;
        f.width = 1;
        f.height = 1;
        testsupport::BitmapHeaders(bmp, f).Bytes({1, 2, 3}).Fill(1);
        dir_.Write("Maps/stone.bmp", bmp.Str());
        dir_.Write("prefix/.keep", "");
    }

    // An empty Wine prefix, so that no installed game lends its maps folder, and the
    // Russian code page for the names.
    testsupport::ToolRun Run(const std::vector<std::string>& args) const
    {
        return RunTool(args, {{"WINEPREFIX", (dir_.Path() / "prefix").string()}, {"LC_ALL", "ru_RU.UTF-8"}});
    }

    testsupport::TempDir dir_;
    std::string model_;
};

}  // namespace

TEST_F(DumpModel, PrintsTheModelWithTexturesFromTheMapsFolder)
{
    const auto run = Run({"dump-model", model_, "--maps", (dir_.Path() / "Maps").string()});
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, ExpectedJson(R"("stone.bmp")"));
}

TEST_F(DumpModel, WithoutMapsFolderOrInstalledGameThereAreNoTextures)
{
    const auto run = Run({"dump-model", model_});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, ExpectedJson("null"));
}

TEST_F(DumpModel, FailuresPrintTheirCodeAndExitWithOne)
{
    const auto missing = Run({"dump-model", (dir_.Path() / "absent.4ds").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "error 3002\n");

    const auto notModel = Run({"dump-model", dir_.Write("text.4ds", "4DS!whatever").string()});
    EXPECT_EQ(notModel.status, 1);
    EXPECT_EQ(notModel.err, "error 3008\n");
}

TEST_F(DumpModel, UsageErrorsExitWithTwo)
{
    const std::vector<std::vector<std::string>> wrong = {{"dump-model"},
                                                         {"dump-model", model_, "--maps"},
                                                         {"dump-model", model_, "--colour"},
                                                         {"dump-model", model_, model_}};
    for (const auto& args : wrong) {
        const auto run = Run(args);
        EXPECT_EQ(run.status, 2) << args.size();
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("usage: verdax-tool dump-model FILE [--maps DIR]"), std::string::npos);
    }
}
