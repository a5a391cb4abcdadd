// verdax-tool render on the demo game: the PNG it writes, read back, and the
// command line's usage errors.

#include "tests/support/TempDir.h"
#include "tests/tools/RunTool.h"
#include "tools/demo/DemoGame.h"

#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <filesystem>

using testsupport::ReadFile;
using testsupport::RunTool;

namespace {

using Rgb = std::array<int, 3>;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // top row first

    Rgb At(int x, int y) const
    {
        const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
        return {rgb[at], rgb[at + 1], rgb[at + 2]};
    }
};

// Reads back the PNGs the tool writes, with libpng, as 8-bit RGB.
Picture DecodePng(const std::string& bytes)
{
    Picture picture;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        ADD_FAILURE() << "not a PNG: " << image.message;
        return picture;
    }
    EXPECT_EQ(image.format, PNG_FORMAT_RGB);  // no alpha, no palette: the pixels as read from GL
    image.format = PNG_FORMAT_RGB;
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) {
        ADD_FAILURE() << "broken PNG: " << image.message;
        return {};
    }
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    return picture;
}

// Plainly of one hue: that channel well above the other two.
bool IsGreen(const Rgb& c)
{
    return c[1] > c[0] + 40 && c[1] > c[2] + 40;
}

bool IsRed(const Rgb& c)
{
    return c[0] > c[1] + 40 && c[0] > c[2] + 40;
}

class RenderCommand : public testing::Test {
protected:
    void SetUp() override { demo::WriteDemoGame(dir_.Path() / "prefix"); }

    testsupport::ToolRun Render(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"render", "harbor_town"});
        return RunTool(args, {{"WINEPREFIX", (dir_.Path() / "prefix").string()}});
    }

    std::string Out(const std::string& name) const { return (dir_.Path() / name).string(); }

    testsupport::TempDir dir_;
};

// The statue has no model: a marker, green, or red when selected; looked at from
// 3 units in front.
TEST_F(RenderCommand, AMarkerIsGreenOrRedWhenSelectedAndTheDefaultSizeIs640By480)
{
    const std::vector<std::string> camera = {"--eye", "0,0.5,23", "--centre", "0,1,26", "--markers", "1", "--no-world"};
    auto args = camera;
    args.insert(args.end(), {"--out", Out("plain.png")});
    const auto plain = Render(args);
    ASSERT_EQ(plain.status, 0) << plain.err;
    const Picture green = DecodePng(ReadFile(Out("plain.png")));
    ASSERT_EQ(green.width, 640);
    ASSERT_EQ(green.height, 480);
    EXPECT_TRUE(IsGreen(green.At(320, 240)));
    EXPECT_EQ(green.At(2, 2), (Rgb{128, 128, 128}));

    args = camera;
    args.insert(args.end(), {"--select", "statue_mayor", "--out", Out("selected.png"), "--size", "64,48"});
    const auto selected = Render(args);
    ASSERT_EQ(selected.status, 0) << selected.err;
    const Picture red = DecodePng(ReadFile(Out("selected.png")));
    ASSERT_EQ(red.width, 64);
    EXPECT_TRUE(IsRed(red.At(32, 24)));
}

TEST_F(RenderCommand, MarkerModeZeroDrawsNoMarker)
{
    const auto run = Render({"--eye", "0,0.5,23", "--centre", "0,1,26", "--no-world", "--out", Out("none.png")});
    ASSERT_EQ(run.status, 0) << run.err;
    const Picture picture = DecodePng(ReadFile(Out("none.png")));
    EXPECT_FALSE(IsGreen(picture.At(320, 240)));
}

TEST_F(RenderCommand, TheWorldIsDrawnTexturedUnlessTurnedOff)
{
    const std::vector<std::string> above = {"--eye", "0,40,110", "--centre", "0,41,113", "--size", "80,50"};
    auto args = above;
    args.insert(args.end(), {"--out", Out("world.png")});
    ASSERT_EQ(Render(args).status, 0);
    args = above;
    args.insert(args.end(), {"--no-world", "--out", Out("bare.png")});
    ASSERT_EQ(Render(args).status, 0);
    const Picture world = DecodePng(ReadFile(Out("world.png")));
    const Picture bare = DecodePng(ReadFile(Out("bare.png")));
    // The grass below the horizon: textured green, grey without the world.
    EXPECT_TRUE(IsGreen(world.At(10, 45)));
    EXPECT_EQ(bare.At(10, 45), (Rgb{128, 128, 128}));
}

TEST_F(RenderCommand, MalformedOptionsAreUsageErrorsAndLeaveNoPicture)
{
    const std::string out = Out("bad.png");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--size", "0,5", "--out", out}, {"--size", "5", "--out", out},
          {"--eye", "1,2", "--out", out}, {"--eye", "a,b,c", "--out", out}, {"--markers", "3", "--out", out},
          {"--select", "nobody", "--out", out}, {"--pick", "1"}, {"--pick", "1.5,2"}, {"--bogus"}, {"--out"}}) {
        const auto run = Render(args);
        EXPECT_EQ(run.status, 2) << args[0];
        EXPECT_NE(run.err.find("usage: verdax-tool render"), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << args[0];
    }
    // A negative number is a value, not an option.
    EXPECT_EQ(Render({"--eye", "-5,0,0", "--centre", "-5,1,5", "--out", out}).status, 0);
    EXPECT_TRUE(std::filesystem::exists(out));
}

TEST_F(RenderCommand, PickPrintsTheThingUnderThePointAsDumpNamesIt)
{
    const std::vector<std::string> camera = {"--eye", "0,0.5,23", "--centre", "0,1,26", "--markers", "1"};
    auto args = camera;
    args.insert(args.end(), {"--pick", "320,240"});
    const auto hit = Render(args);
    ASSERT_EQ(hit.status, 0) << hit.err;
    EXPECT_EQ(hit.out, "{\"picked\":\"statue_mayor\"}\n");
    args = camera;
    args.insert(args.end(), {"--pick", "2,2", "--out", Out("picked.png")});
    const auto miss = Render(args);
    EXPECT_EQ(miss.out, "{\"picked\":null}\n");
    EXPECT_TRUE(std::filesystem::exists(Out("picked.png")));
}

TEST_F(RenderCommand, AMissingMissionFailsWithItsErrorCodeAndNoPicture)
{
    const auto run = RunTool({"render", (dir_.Path() / "nowhere").string(), "--out", Out("x.png")},
                             {{"WINEPREFIX", (dir_.Path() / "empty").string()}});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("error ", 0), 0u) << run.err;
    EXPECT_FALSE(std::filesystem::exists(Out("x.png")));
}

}  // namespace
