#include "core/CVerdaxException.h"
#include "platform/MessagePresenter.h"
#include "scene/CScene2File.h"
#include "scene/FileReplacement.h"
#include "tests/scene/SceneOwner.h"
#include "tests/support/ByteWriter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <set>
#include <sstream>
#include <unistd.h>

using platform::RecordingPresenter;
using testsupport::ByteWriter;
using testsupport::FolderNames;
using testsupport::Hex;

namespace {

using Body = std::function<void(ByteWriter&)>;

std::string SceneFile(const Body& sections)
{
    return ByteWriter().Chunk(0x4C53, sections).Str();
}

void OriginalHeader(ByteWriter& w)
{
    w.Chunk(0x0001, [](ByteWriter& h) { h.U16(0x1234).U16(0x0005).Bytes("made by the game").U8(0); });
}

void FixedSections(ByteWriter& w)
{
    w.ChunkRaw(0xAFFF, "AFAFAFAF").ChunkRaw(0x3200, "320032003200").ChunkU32(0x3010, 0x10).ChunkU32(0x3011, 0x11);
    w.ChunkRaw(0x3211, "32113211");
}

void ThingList(ByteWriter& w)
{
    w.Chunk(0x4000, [](ByteWriter& l) {
        l.Chunk(0x4010, [](ByteWriter& t) { t.ChunkText(0x0010, "first"); });
        l.Chunk(0x4010, [](ByteWriter& t) { t.ChunkText(0x0010, "second").ChunkRaw(0x4090, "").ChunkRaw(0x40A0, "a0"); });
    });
}

void ThingDataList(ByteWriter& w)
{
    w.Chunk(0xAE20, [](ByteWriter& l) {
        l.Chunk(0xAE21, [](ByteWriter& d) {
            d.ChunkText(0xAE23, "first").ChunkU32(0xAE22, 5).Chunk(0xAE24, [](ByteWriter& c) {
                c.U32(1).U32(2).U16(3).Counted("script");
            });
        });
    });
}

void ScriptList(ByteWriter& w)
{
    w.Chunk(0xAE50, [](ByteWriter& l) {
        l.Chunk(0xAE51, [](ByteWriter& s) { s.U8(0).Counted("main").Counted("body"); });
    });
}

void WrittenHeader(ByteWriter& w)
{
    w.Header(0x0001, 123).U16(0x1234).U16(0x0005);
    w.Bytes(CScene2File::kHeaderMarker).Bytes(CScene2File::kHeaderBanner).U8(0);
}

// A complete file in the order the writer uses.
std::string CanonicalFile(bool withAE02)
{
    return SceneFile([&](ByteWriter& w) {
        WrittenHeader(w);
        FixedSections(w);
        ThingList(w);
        ThingDataList(w);
        if (withAE02)
            w.ChunkRaw(0xAE02, std::string("\x00\x01\x02zz", 5));
        ScriptList(w);
    });
}

struct ReadResult {
    TestSceneOwner owner;
    CScene2File file;
    std::int32_t code = 0;
    std::vector<RecordingPresenter::Entry> shown;
};

void ReadBytes(ReadResult& r, const std::string& bytes)
{
    RecordingPresenter presenter;
    platform::ScopedPresenter scope(presenter);
    std::stringstream stream(bytes);
    r.file.SetOwner(&r.owner);
    try {
        r.file.ReadFrom(stream);
    } catch (const CVerdaxException& e) {
        r.code = e.GetCode();
        EXPECT_EQ(e.GetText().empty(), presenter.entries.empty());
    }
    r.shown = presenter.entries;
}

std::string WriteBytes(CScene2File& file)
{
    std::stringstream out;
    file.WriteTo(out);
    return out.str();
}

std::vector<RecordingPresenter::Entry> PositionShown(long long position)
{
    return {{0, "fFile pos = " + std::to_string(position)}};
}

}  // namespace

TEST(Scene2File, ReadThenWriteGivesTheCanonicalFile)
{
    const auto input = SceneFile([](ByteWriter& w) {
        OriginalHeader(w);
        FixedSections(w);
        ThingList(w);
        ThingDataList(w);
        ScriptList(w);
    });
    ReadResult r;
    ReadBytes(r, input);
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.file.GetHeaderWord1(), 0x1234);
    EXPECT_EQ(r.file.GetHeaderWord2(), 5);
    EXPECT_EQ(r.file.GetHeaderText(), "made by the game");
    EXPECT_EQ(r.file.GetValue3010(), 0x10u);
    EXPECT_EQ(r.file.GetValue3011(), 0x11u);
    EXPECT_FALSE(r.file.HasDataAE02());
    ASSERT_EQ(r.owner.things.size(), 2u);
    EXPECT_EQ(r.owner.things[1]->GetKind(), 0x1000);
    ASSERT_EQ(r.owner.thingData.size(), 1u);
    EXPECT_EQ(r.owner.thingData[0]->GetScript(), "script");
    ASSERT_EQ(r.owner.scripts.size(), 1u);

    const auto output = WriteBytes(r.file);
    EXPECT_EQ(Hex(output), Hex(CanonicalFile(false)));
    EXPECT_EQ(r.file.GetHeaderText().size(), 112u);
    // The scene chunk's size is the file's length; the header chunk's is 123.
    EXPECT_EQ(Hex(output.substr(2, 4)), Hex(ByteWriter().U32(static_cast<std::uint32_t>(output.size())).Str()));
}

TEST(Scene2File, SectionsComeOutInTheirOrderWhateverTheInputOrder)
{
    const auto input = SceneFile([](ByteWriter& w) {
        ScriptList(w);
        w.ChunkRaw(0xAE02, std::string("\x00\x01\x02zz", 5));
        ThingDataList(w);
        w.ChunkRaw(0x3211, "32113211").ChunkU32(0x3011, 0x11).ChunkU32(0x3010, 0x10);
        ThingList(w);
        w.ChunkRaw(0x3200, "320032003200").ChunkRaw(0xAFFF, "AFAFAFAF");
        OriginalHeader(w);
    });
    ReadResult r;
    ReadBytes(r, input);
    ASSERT_EQ(r.code, 0);
    EXPECT_TRUE(r.file.HasDataAE02());
    EXPECT_EQ(Hex(WriteBytes(r.file)), Hex(CanonicalFile(true)));
}

TEST(Scene2File, RepeatedSectionsAreReadAgain)
{
    const auto input = SceneFile([](ByteWriter& w) {
        w.ChunkU32(0x3010, 1);
        ThingList(w);
        w.ChunkU32(0x3010, 2);
        ThingList(w);
        ScriptList(w);
        ScriptList(w);
    });
    ReadResult r;
    ReadBytes(r, input);
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.file.GetValue3010(), 2u);
    EXPECT_EQ(r.owner.things.size(), 4u);
    EXPECT_EQ(r.owner.scripts.size(), 2u);
}

TEST(Scene2File, EmptyAndMinimalFiles)
{
    // Only the scene chunk: nothing read, and the lists written empty.
    ReadResult r;
    ReadBytes(r, ByteWriter().Header(0x4C53, 6).Str());
    ASSERT_EQ(r.code, 0);
    EXPECT_TRUE(r.owner.things.empty());
    EXPECT_FALSE(r.file.HasDataAE02());
    const auto output = WriteBytes(r.file);
    EXPECT_EQ(Hex(output.substr(output.size() - 18)), "00 40 06 00 00 00 20 AE 06 00 00 00 50 AE 06 00 00 00");

    // A file not beginning with the scene chunk is read as that one chunk.
    ReadResult bare;
    ReadBytes(bare, ByteWriter().ChunkU32(0x3010, 7).ChunkU32(0x3011, 8).Str());
    ASSERT_EQ(bare.code, 0);
    EXPECT_EQ(bare.file.GetValue3010(), 7u);
    EXPECT_EQ(bare.file.GetValue3011(), 0u);

    // The scene chunk's size bounds the walk: what follows it is not read.
    ReadResult bounded;
    ReadBytes(bounded, ByteWriter().Header(0x4C53, 16).ChunkU32(0x3010, 7).Header(0x9999, 6).Str());
    EXPECT_EQ(bounded.code, 0);
}

TEST(Scene2File, MissionScriptListOfSizeSixReadsBackEmpty)
{
    ReadResult r;
    ReadBytes(r, SceneFile([](ByteWriter& w) { ThingList(w); }));
    const auto output = WriteBytes(r.file);
    ReadResult back;
    ReadBytes(back, output);
    ASSERT_EQ(back.code, 0);
    EXPECT_TRUE(back.owner.scripts.empty());
    EXPECT_EQ(back.owner.things.size(), 2u);
    EXPECT_EQ(Hex(WriteBytes(back.file)), Hex(output));
}

TEST(Scene2File, SectionSizesMustMatchWhatIsRead)
{
    // 0x3010 declaring 12 fails after its u32 with 4000; declaring 8, with 4001.
    ReadResult shortChunk;
    ReadBytes(shortChunk, ByteWriter().Header(0x4C53, 100).Header(0x3010, 12).U32(1).U16(0).Str());
    EXPECT_EQ(shortChunk.code, VERDAX_ERR_CHUNK_SHORT);
    EXPECT_EQ(shortChunk.shown, PositionShown(16));

    ReadResult longChunk;
    ReadBytes(longChunk, ByteWriter().Header(0x4C53, 100).Header(0x3010, 8).U32(1).Str());
    EXPECT_EQ(longChunk.code, VERDAX_ERR_CHUNK_LONG);
    EXPECT_EQ(longChunk.shown, PositionShown(16));

    // A list whose elements overrun its declared size.
    ReadResult overrun;
    ReadBytes(overrun, SceneFile([](ByteWriter& w) {
                  w.Header(0xAE50, 10).Chunk(0xAE51, [](ByteWriter& s) { s.U8(1).Counted("").Counted(""); });
              }));
    EXPECT_EQ(overrun.code, VERDAX_ERR_CHUNK_LONG);
    EXPECT_EQ(overrun.shown, PositionShown(6 + 6 + 15));
}

TEST(Scene2File, UnknownIdsAndWrongElementsFailWith4002)
{
    ReadResult unknown;
    ReadBytes(unknown, ByteWriter().Header(0x4C53, 100).ChunkU32(0x3010, 1).Header(0x3012, 10).U32(0).Str());
    EXPECT_EQ(unknown.code, VERDAX_ERR_CHUNK_ID);
    EXPECT_EQ(unknown.shown, PositionShown(6 + 10 + 6));

    // A thing list whose first element id is 0x4011: the position just after that id.
    ReadResult wrong;
    ReadBytes(wrong, SceneFile([](ByteWriter& w) { w.Chunk(0x4000, [](ByteWriter& l) { l.ChunkU32(0x4011, 1); }); }));
    EXPECT_EQ(wrong.code, VERDAX_ERR_CHUNK_ID);
    EXPECT_EQ(wrong.shown, PositionShown(6 + 6 + 2));
}

TEST(Scene2File, ObjectFailuresPassThroughWithoutText)
{
    // The second thing is malformed: the first stays with the owner, and the error
    // (6007, no text) reaches the caller unchanged.
    ReadResult r;
    ReadBytes(r, SceneFile([](ByteWriter& w) {
                  w.Chunk(0x4000, [](ByteWriter& l) {
                      l.Chunk(0x4010, [](ByteWriter& t) { t.ChunkText(0x0010, "kept"); });
                      l.Chunk(0x4010, [](ByteWriter& t) { t.ChunkU32(0x7777, 0); });
                  });
              }));
    EXPECT_EQ(r.code, VERDAX_ERR_INNER_CHUNK);
    EXPECT_TRUE(r.shown.empty());
    ASSERT_EQ(r.owner.things.size(), 1u);
    EXPECT_EQ(r.owner.things[0]->GetName(), "kept");

    // A file cut short.
    ReadResult cut;
    ReadBytes(cut, CanonicalFile(true).substr(0, 300));
    EXPECT_EQ(cut.code, VERDAX_ERR_READ);
    EXPECT_TRUE(cut.shown.empty());
}

TEST(Scene2File, SectionContentSizesAreCheckedBeforeAllocating)
{
    struct Case {
        const char* what;
        std::string bytes;
        std::int32_t code;
    };
    const std::vector<Case> cases = {
        {"0xAE02 below 6", ByteWriter().Header(0x4C53, 100).Header(0xAE02, 3).Fill(20).Str(), VERDAX_ERR_CHUNK_LONG},
        {"0xAE02 beyond the end", ByteWriter().Header(0x4C53, 100).Header(0xAE02, 0xFFFFFFF0).Fill(20).Str(),
         VERDAX_ERR_CHUNK_SHORT},
        {"header below 10", ByteWriter().Header(0x4C53, 100).Header(0x0001, 7).Fill(20).Str(), VERDAX_ERR_CHUNK_LONG},
        {"header beyond the end", ByteWriter().Header(0x4C53, 100).Header(0x0001, 0xFFFFFFFF).Fill(20).Str(),
         VERDAX_ERR_CHUNK_SHORT},
        {"list below 6", ByteWriter().Header(0x4C53, 100).Header(0xAE50, 2).Fill(20).Str(), VERDAX_ERR_CHUNK_LONG},
        {"list beyond the end", ByteWriter().Header(0x4C53, 100).Header(0xAE50, 0xFFFFFFFF).Str(), VERDAX_ERR_READ},
        {"raw thing data beyond the end",
         SceneFile([](ByteWriter& w) {
             w.Chunk(0xAE20, [](ByteWriter& l) {
                 l.Chunk(0xAE21, [](ByteWriter& d) { d.ChunkU32(0xAE22, 2).Header(0xAE24, 0xFFFFFF00); });
             });
         }),
         VERDAX_ERR_READ},
    };
    for (const auto& c : cases) {
        ReadResult r;
        ReadBytes(r, c.bytes);
        EXPECT_EQ(r.code, c.code) << c.what;
        // Format errors carry the position; read errors carry nothing.
        EXPECT_EQ(r.shown.size(), c.code == VERDAX_ERR_READ ? 0u : 1u) << c.what;
    }
}

TEST(Scene2File, ForeignFailuresBecomeCodeOneWithThePosition)
{
    class ThrowingOwner : public TestSceneOwner {
    public:
        void AddThing(std::unique_ptr<CSceneObjectThing>) override { throw std::runtime_error("full"); }
        const std::vector<std::unique_ptr<CSceneObjectThingData>>& GetThingData() const override
        {
            throw std::length_error("too long");
        }
    };
    ThrowingOwner owner;
    CScene2File file;
    file.SetOwner(&owner);
    RecordingPresenter presenter;
    platform::ScopedPresenter scope(presenter);
    const auto input = SceneFile([](ByteWriter& w) { ThingList(w); });
    std::stringstream in(input);
    try {
        file.ReadFrom(in);
        ADD_FAILURE();
    } catch (const CVerdaxException& e) {
        EXPECT_EQ(e.GetCode(), VERDAX_ERR_FOREIGN);
        // After the first element: scene header, list header, then the 18-byte thing.
        EXPECT_EQ(e.GetText(), "fFile pos = 30");
    }
    std::stringstream out;
    try {
        file.WriteTo(out);
        ADD_FAILURE();
    } catch (const CVerdaxException& e) {
        EXPECT_EQ(e.GetCode(), VERDAX_ERR_FOREIGN);
        EXPECT_EQ(e.GetText(), "fFile pos = " + std::to_string(out.str().size()));
    }
    EXPECT_EQ(presenter.entries.size(), 2u);
}

TEST(Scene2File, FilesAreReadFromAndWrittenToTheOwnersFolder)
{
    testsupport::TempDir dir;
    const auto original = CanonicalFile(true);
    const auto inputPath = dir.Write("scene2.bin", original);
    TestSceneOwner owner(dir.Path());
    CScene2File file;
    file.SetOwner(&owner);
    file.Read();
    EXPECT_EQ(owner.things.size(), 2u);
    file.Write();
    file.Write();  // a second save overwrites the output
    EXPECT_EQ(testsupport::ReadFile(inputPath), original);
    EXPECT_EQ(testsupport::ReadFile(dir.Path() / "scene2.bin.Verdax"), original);
    EXPECT_EQ(FolderNames(dir.Path()), (std::set<std::string>{"scene2.bin", "scene2.bin.Verdax"}));
}

// The save collects the file in memory sized after the file read: a file grown far
// beyond that, or written with nothing read before, must come out whole all the same.
TEST(Scene2File, SavedFileIsTheWrittenStreamWhateverItsSize)
{
    testsupport::TempDir dir;
    dir.Write("scene2.bin", CanonicalFile(true));
    TestSceneOwner owner(dir.Path());
    CScene2File file;
    file.SetOwner(&owner);
    file.Read();
    ASSERT_FALSE(owner.thingData.empty());
    owner.thingData[0]->SetScript(std::string(300000, 's') + "\r\nend");
    file.Write();
    EXPECT_EQ(testsupport::ReadFile(dir.Path() / "scene2.bin.Verdax"), WriteBytes(file));

    TestSceneOwner fresh(dir.Path());
    fresh.things.push_back(std::make_unique<CSceneObjectThing>());
    CScene2File unread;
    unread.SetOwner(&fresh);
    unread.Write();
    EXPECT_EQ(testsupport::ReadFile(dir.Path() / "scene2.bin.Verdax"), WriteBytes(unread));
}

TEST(Scene2File, MissingFileFailsWith3002AndShowsNothing)
{
    testsupport::TempDir dir;
    TestSceneOwner owner(dir.Path());
    CScene2File file;
    file.SetOwner(&owner);
    RecordingPresenter presenter;
    platform::ScopedPresenter scope(presenter);
    try {
        file.Read();
        ADD_FAILURE();
    } catch (const CVerdaxException& e) {
        EXPECT_EQ(e.GetCode(), VERDAX_ERR_OPEN_READ);
    }
    std::filesystem::create_directory(dir.Path() / "scene2.bin");
    EXPECT_THROW(file.Read(), CVerdaxException);
    EXPECT_TRUE(presenter.entries.empty());
}

TEST(Scene2File, FailedSaveLeavesThePreviousOutputAndNoPartialFile)
{
    testsupport::TempDir dir;
    dir.Write("scene2.bin", CanonicalFile(false));
    const auto previous = dir.Write("scene2.bin.Verdax", "previous output");

    // A failure while the file is produced.
    class FailingOwner : public TestSceneOwner {
    public:
        using TestSceneOwner::TestSceneOwner;
        bool fail = false;
        const std::vector<std::unique_ptr<CSceneObjectMissionScript>>& GetMissionScripts() const override
        {
            if (fail)
                throw std::bad_alloc();
            return scripts;
        }
    };
    FailingOwner owner(dir.Path());
    CScene2File file;
    file.SetOwner(&owner);
    file.Read();
    owner.fail = true;
    RecordingPresenter presenter;
    platform::ScopedPresenter scope(presenter);
    EXPECT_THROW(file.Write(), CVerdaxException);
    EXPECT_EQ(testsupport::ReadFile(previous), "previous output");
    EXPECT_EQ(FolderNames(dir.Path()), (std::set<std::string>{"scene2.bin", "scene2.bin.Verdax"}));

    // The output's place cannot be taken (a folder stands there): 3003.
    owner.fail = false;
    std::filesystem::remove(previous);
    std::filesystem::create_directories(dir.Path() / "scene2.bin.Verdax" / "inside");
    try {
        file.Write();
        ADD_FAILURE();
    } catch (const CVerdaxException& e) {
        EXPECT_EQ(e.GetCode(), VERDAX_ERR_OPEN_WRITE);
    }
    EXPECT_EQ(FolderNames(dir.Path()), (std::set<std::string>{"scene2.bin", "scene2.bin.Verdax"}));

    // A folder that does not exist: the message names the file and the reason.
    TestSceneOwner nowhere(dir.Path() / "missing");
    CScene2File orphan;
    orphan.SetOwner(&nowhere);
    presenter.entries.clear();
    try {
        orphan.Write();
        ADD_FAILURE();
    } catch (const CVerdaxException& e) {
        EXPECT_EQ(e.GetCode(), VERDAX_ERR_OPEN_WRITE);
        EXPECT_EQ(e.GetText(), (dir.Path() / "missing" / "scene2.bin.Verdax").string() + ": No such file or directory");
    }
    EXPECT_EQ(presenter.entries.size(), 1u);
}

// A disk that fills while the file is written: the message names the output and the
// system's reason, the previous output stays and no temporary file is left.
TEST(Scene2File, FullDiskIsReportedWithTheFileAndTheReason)
{
    testsupport::TempDir dir;
    dir.Write("scene2.bin", CanonicalFile(false));
    const auto previous = dir.Write("scene2.bin.Verdax", "previous output");
    TestSceneOwner owner(dir.Path());
    CScene2File file;
    file.SetOwner(&owner);
    file.Read();

    static std::size_t room = 0;
    room = 100;
    const auto fillingDisk = [](int fd, const void* data, std::size_t size) -> ssize_t {
        if (room == 0) {
            errno = ENOSPC;
            return -1;
        }
        const std::size_t now = std::min(size, room);
        room -= now;
        return ::write(fd, data, now);
    };
    const FileWriteCall saved = SetFileWriteCallForTesting(fillingDisk);
    RecordingPresenter presenter;
    platform::ScopedPresenter scope(presenter);
    const std::string expected = previous.string() + ": No space left on device";
    try {
        file.Write();
        ADD_FAILURE();
    } catch (const CVerdaxException& e) {
        EXPECT_EQ(e.GetCode(), VERDAX_ERR_WRITE);
        EXPECT_EQ(e.GetText(), expected);
    }
    SetFileWriteCallForTesting(saved);
    EXPECT_EQ(presenter.entries, (std::vector<RecordingPresenter::Entry>{{0, expected}}));
    EXPECT_EQ(testsupport::ReadFile(previous), "previous output");
    EXPECT_EQ(FolderNames(dir.Path()), (std::set<std::string>{"scene2.bin", "scene2.bin.Verdax"}));

    file.Write();  // room again
    EXPECT_EQ(testsupport::ReadFile(previous), CanonicalFile(false));
}

TEST(Scene2File, OutputLinkedToTheGameFileNeverWritesThroughIt)
{
    testsupport::TempDir dir;
    const auto original = CanonicalFile(false);
    const auto input = dir.Write("scene2.bin", original);
    std::filesystem::create_symlink(input, dir.Path() / "scene2.bin.Verdax");
    TestSceneOwner owner(dir.Path());
    CScene2File file;
    file.SetOwner(&owner);
    file.Read();
    owner.things[0]->SetName("renamed");
    file.Write();
    EXPECT_EQ(testsupport::ReadFile(input), original);
    EXPECT_FALSE(std::filesystem::is_symlink(dir.Path() / "scene2.bin.Verdax"));
    EXPECT_NE(testsupport::ReadFile(dir.Path() / "scene2.bin.Verdax").find("renamed"), std::string::npos);
}

TEST(Scene2File, WriteFailuresOfTheStreamRaise3006)
{
    class Refusing : public std::streambuf {
    protected:
        int_type overflow(int_type) override { return traits_type::eof(); }
    };
    Refusing buffer;
    std::iostream stream(&buffer);
    TestSceneOwner owner;
    CScene2File file;
    file.SetOwner(&owner);
    try {
        file.WriteTo(stream);
        ADD_FAILURE();
    } catch (const CVerdaxException& e) {
        EXPECT_EQ(e.GetCode(), VERDAX_ERR_WRITE);
        EXPECT_TRUE(e.GetText().empty());
    }
}

TEST(Scene2File, DamagedFilesFailCleanly)
{
    // Every truncation and every byte overwritten with a few hostile values either
    // reads or fails with the program's error; nothing else escapes (and the
    // sanitizer build sees no bad access or huge allocation).
    const auto original = CanonicalFile(true);
    RecordingPresenter presenter;
    platform::ScopedPresenter scope(presenter);
    auto readsOrFails = [](const std::string& bytes) {
        TestSceneOwner owner;
        CScene2File file;
        file.SetOwner(&owner);
        std::stringstream stream(bytes);
        try {
            file.ReadFrom(stream);
        } catch (const CVerdaxException&) {
        }
    };
    for (std::size_t length = 0; length < original.size(); ++length)
        EXPECT_NO_THROW(readsOrFails(original.substr(0, length))) << length;
    for (std::size_t at = 0; at < original.size(); ++at) {
        for (const char value : {'\x00', '\x05', '\xFF'}) {
            std::string damaged = original;
            damaged[at] = value;
            EXPECT_NO_THROW(readsOrFails(damaged)) << at;
        }
    }
}
