// Models of the same file sharing one read geometry: what is shared, when a file is
// read again, and that neither a failed load nor a cleared texture cache leaves a
// geometry behind that a later model could pick up.

#include "model/C4dsModel.h"
#include "model/CModelGeometryCache.h"

#include "core/CVerdaxException.h"
#include "tests/model/GlTestSupport.h"
#include "tests/support/BitmapBytes.h"
#include "tests/support/ModelBytes.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>

using testsupport::ByteWriter;
using testsupport::DummyFrame;
using testsupport::MaterialStart;
using testsupport::ModelMagic;

namespace {

namespace fs = std::filesystem;

// No materials and one dummy frame per name.
std::string FramesModel(std::initializer_list<std::string_view> names)
{
    ByteWriter w;
    ModelMagic(w).U16(0).U16(static_cast<std::uint16_t>(names.size()));
    for (const auto name : names)
        DummyFrame(w, name, 0);
    return w.Str();
}

std::string FirstFrameName(const C4dsModel& model)
{
    return model.GetFrames().empty() ? std::string() : model.GetFrames()[0]->name;
}

class SharedGeometry : public testing::Test {
protected:
    void SetUp() override
    {
        CModelGeometryCache::Instance().Clear();
        SetGameFolders(&folders_);
    }
    void TearDown() override { SetGameFolders(nullptr); }

    std::string ModelPath(const std::string& name) const { return (dir_.Path() / "Models" / name).string(); }

    testsupport::TempDir dir_;
    CFixedGameFolders folders_{dir_.Path().string() + "/Models/", dir_.Path().string() + "/Maps/"};
};

TEST_F(SharedGeometry, ModelsOfOneFileShareItsContentAndKeepTheirOwnNames)
{
    dir_.Write("Models/crate.4DS", FramesModel({"lid", "box"}));
    C4dsModel byName;
    C4dsModel byOtherCase;
    C4dsModel byPath;
    byName.Load("crate", false);
    byOtherCase.Load("CRATE", false);
    byPath.Load(ModelPath("crate.4DS"), true);

    ASSERT_NE(byName.GetGeometry(), nullptr);
    EXPECT_EQ(byOtherCase.GetGeometry(), byName.GetGeometry());
    EXPECT_EQ(byPath.GetGeometry(), byName.GetGeometry());
    EXPECT_EQ(&byPath.GetFrames(), &byName.GetFrames());
    EXPECT_EQ(byName.GetName(), "crate");
    EXPECT_EQ(byOtherCase.GetName(), "CRATE");
    EXPECT_EQ(byPath.GetName(), "scene");
    EXPECT_EQ(CModelGeometryCache::Instance().GetLiveCount(), 1u);

    dir_.Write("Models/barrel.4DS", FramesModel({"staves"}));
    C4dsModel other;
    other.Load("barrel", false);
    EXPECT_NE(other.GetGeometry(), byName.GetGeometry());
    EXPECT_EQ(FirstFrameName(other), "staves");
}

TEST_F(SharedGeometry, ContentGoesWithTheLastModelThatUsesIt)
{
    dir_.Write("Models/crate.4DS", FramesModel({"box"}));
    C4dsModel first;
    C4dsModel second;
    first.Load("crate", false);
    second.Load("crate", false);
    const std::weak_ptr<const ModelGeometry> shared = first.GetGeometry();

    first.Clear();
    EXPECT_FALSE(shared.expired());
    EXPECT_EQ(FirstFrameName(second), "box");
    // A load lets go of the model's content first: as the last user it reads anew.
    second.Load("crate", false);
    EXPECT_TRUE(shared.expired());
    EXPECT_EQ(FirstFrameName(second), "box");
    const std::weak_ptr<const ModelGeometry> reread = second.GetGeometry();
    second.Clear();
    EXPECT_TRUE(reread.expired());
    EXPECT_EQ(CModelGeometryCache::Instance().GetLiveCount(), 0u);
}

// The first model keeps what it read; the next one sees the file as it is now.
TEST_F(SharedGeometry, ChangedFileIsReadAgain)
{
    const auto path = dir_.Write("Models/crate.4DS", FramesModel({"old"}));
    C4dsModel before;
    before.Load("crate", false);

    dir_.Write("Models/crate.4DS", FramesModel({"new", "longer"}));
    C4dsModel afterResize;
    afterResize.Load("crate", false);
    EXPECT_EQ(FirstFrameName(afterResize), "new");
    EXPECT_EQ(FirstFrameName(before), "old");

    // Same size, only the modification time tells the versions apart.
    dir_.Write("Models/crate.4DS", FramesModel({"NEW", "LONGER"}));
    fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(5));
    C4dsModel afterRewrite;
    afterRewrite.Load("crate", false);
    EXPECT_EQ(FirstFrameName(afterRewrite), "NEW");
    EXPECT_EQ(FirstFrameName(afterResize), "new");

    // Replaced by another file of the same size and time: a new inode.
    const auto replacement = dir_.Write("replacement.4DS", FramesModel({"RPL", "LONGER"}));
    fs::last_write_time(replacement, fs::last_write_time(path));
    fs::rename(replacement, path);
    C4dsModel afterReplace;
    afterReplace.Load("crate", false);
    EXPECT_EQ(FirstFrameName(afterReplace), "RPL");
}

TEST_F(SharedGeometry, FailedLoadKeepsAndCachesNothing)
{
    dir_.Write("Models/good.4DS", FramesModel({"box"}));
    dir_.Write("Models/bad.4DS", "4DX");
    C4dsModel model;
    model.Load("good", false);
    try {
        model.Load("bad", false);
        FAIL() << "a file without the magic loaded";
    } catch (const CVerdaxException& e) {
        EXPECT_EQ(e.GetCode(), VERDAX_ERR_MAGIC_4DS);
    }
    EXPECT_FALSE(model.IsLoaded());
    EXPECT_EQ(model.GetGeometry(), nullptr);
    EXPECT_TRUE(model.GetFrames().empty());
    EXPECT_EQ(CModelGeometryCache::Instance().GetLiveCount(), 0u);

    EXPECT_THROW(model.Load("absent", false), CVerdaxException);
    EXPECT_EQ(CModelGeometryCache::Instance().GetLiveCount(), 0u);

    // Mended, the same file loads at once: the failure was not remembered.
    dir_.Write("Models/bad.4DS", FramesModel({"mended"}));
    model.Load("bad", false);
    EXPECT_EQ(FirstFrameName(model), "mended");
}

// A folder where the model file should be fails as it always did, cache or not.
TEST_F(SharedGeometry, FolderInPlaceOfTheFileIsUnreadable)
{
    fs::create_directories(dir_.Path() / "Models" / "crate.4DS");
    C4dsModel model;
    try {
        model.Load("crate", false);
        FAIL() << "a folder loaded as a model";
    } catch (const CVerdaxException& e) {
        EXPECT_EQ(e.GetCode(), VERDAX_ERR_OPEN_READ);
    }
    EXPECT_EQ(CModelGeometryCache::Instance().GetLiveCount(), 0u);
}

// A 1×1 true-colour bitmap.
std::string TinyBitmap()
{
    ByteWriter bmp;
    testsupport::BitmapFields fields;
    fields.width = 1;
    fields.height = 1;
    testsupport::BitmapHeaders(bmp, fields).Bytes({1, 2, 3}).Fill(1);
    return bmp.Str();
}

std::string TexturedModel()
{
    ByteWriter w;
    ModelMagic(w).U16(1);
    MaterialStart(w, 0).Name8("stone.bmp");
    w.U16(0);
    return w.Str();
}

class SharedTexturedGeometry : public GlTextureTest {
protected:
    void SetUp() override
    {
        GlTextureTest::SetUp();
        if (IsSkipped())
            return;
        CModelGeometryCache::Instance().Clear();
        path_ = dir_.Write("Models/wall.4DS", TexturedModel()).string();
    }

    std::string path_;
};

// After a clear the old texture objects belong to another context, or to none: a
// model loaded then must name the texture the cache holds now.
TEST_F(SharedTexturedGeometry, ClearedTextureCacheLeavesNoStaleTextureNames)
{
    WriteMap("stone.bmp", TinyBitmap());
    C4dsModel before;
    before.Load(path_, true);
    const std::uint32_t oldName = before.GetMaterials().at(0).diffuseGlName;
    ASSERT_NE(oldName, 0u);

    CTextureManager::Instance().Clear();
    C4dsModel after;
    after.Load(path_, true);
    EXPECT_NE(after.GetGeometry(), before.GetGeometry());
    const CTexture& current = CTextureManager::Instance().GetTexture("stone.bmp");
    ASSERT_EQ(after.GetMaterials().size(), 1u);
    EXPECT_EQ(after.GetMaterials()[0].diffuse, &current);
    EXPECT_EQ(after.GetMaterials()[0].diffuseGlName, current.GetGlName());
    EXPECT_NE(after.GetMaterials()[0].diffuseGlName, oldName);
    EXPECT_EQ(CTextureManager::Instance().GetCount(), 1u);

    C4dsModel third;
    third.Load(path_, true);
    EXPECT_EQ(third.GetGeometry(), after.GetGeometry());
}

// The texture cache remembers no failure; neither may a shared geometry, or a bitmap
// put in place later would never reach the models loaded after it.
TEST_F(SharedTexturedGeometry, TextureMissingAtFirstIsAskedForAgain)
{
    C4dsModel before;
    before.Load(path_, true);
    EXPECT_EQ(before.GetMaterials().at(0).diffuseGlName, 0u);
    C4dsModel stillMissing;
    stillMissing.Load(path_, true);
    EXPECT_EQ(stillMissing.GetGeometry(), before.GetGeometry());

    WriteMap("stone.bmp", TinyBitmap());
    C4dsModel after;
    after.Load(path_, true);
    EXPECT_NE(after.GetGeometry(), before.GetGeometry());
    ASSERT_NE(after.GetMaterials().at(0).diffuse, nullptr);
    EXPECT_EQ(after.GetMaterials()[0].diffuseGlName, after.GetMaterials()[0].diffuse->GetGlName());
    EXPECT_EQ(before.GetMaterials()[0].diffuseGlName, 0u);

    C4dsModel later;
    later.Load(path_, true);
    EXPECT_EQ(later.GetGeometry(), after.GetGeometry());
}

}  // namespace
