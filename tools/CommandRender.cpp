// verdax-tool render MISSION [options]: one frame of the editor's world window,
// drawn headless with the window's own drawing code, written as a PNG; with --pick,
// the thing a Ctrl-click at that client point would pick, as JSON.

#include "core/CVerdaxException.h"
#include "model/CHeadlessGlContext.h"
#include "model/CModelDrawCache.h"
#include "platform/CodePage.h"
#include "tools/MissionLocator.h"
#include "tools/PngWriter.h"
#include "tools/ToolCommand.h"
#include "view3d/COffscreenFrame.h"
#include "view3d/CWorldRenderer.h"

#include <GL/gl.h>
#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <iostream>
#include <optional>

namespace {

struct RenderOptions {
    std::string mission;
    std::optional<std::string> out;
    int width = 640;
    int height = 480;
    Camera camera;
    std::uint8_t markers = 0;
    bool wireframe = false;
    bool world = true;
    bool cull = true;
    std::optional<std::string> select;
    std::optional<std::pair<int, int>> pick;
};

// Thrown for a malformed command line, with what was wrong.
struct UsageError {
    std::string text;
};

float ParseFloat(std::string_view text, std::string_view option)
{
    float value = 0.0f;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        throw UsageError{std::string(option) + ": '" + std::string(text) + "' is not a decimal number"};
    return value;
}

std::vector<std::string_view> SplitCommas(std::string_view text)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t comma = text.find(',', start);
        parts.push_back(text.substr(start, comma - start));
        if (comma == std::string_view::npos)
            return parts;
        start = comma + 1;
    }
}

Vector3 ParseVector(std::string_view text, std::string_view option)
{
    const auto parts = SplitCommas(text);
    if (parts.size() != 3)
        throw UsageError{std::string(option) + " takes X,Y,Z"};
    return {ParseFloat(parts[0], option), ParseFloat(parts[1], option), ParseFloat(parts[2], option)};
}

int ParseInt(std::string_view text, std::string_view option)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        throw UsageError{std::string(option) + ": '" + std::string(text) + "' is not a whole number"};
    return value;
}

RenderOptions ParseOptions(std::span<const std::string> args)
{
    RenderOptions options;
    bool haveMission = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw UsageError{arg + " needs a value"};
            return args[++i];
        };
        if (arg == "--out") {
            options.out = value();
        } else if (arg == "--size") {
            const auto parts = SplitCommas(value());
            if (parts.size() != 2)
                throw UsageError{"--size takes W,H"};
            options.width = ParseInt(parts[0], arg);
            options.height = ParseInt(parts[1], arg);
            if (options.width < 1 || options.height < 1)
                throw UsageError{"--size: width and height must be at least 1"};
        } else if (arg == "--eye") {
            options.camera.eye = ParseVector(value(), arg);
        } else if (arg == "--centre") {
            options.camera.centre = ParseVector(value(), arg);
        } else if (arg == "--up") {
            options.camera.up = ParseVector(value(), arg);
        } else if (arg == "--markers") {
            const std::string& mode = value();
            if (mode != "0" && mode != "1" && mode != "2")
                throw UsageError{"--markers takes 0, 1 or 2"};
            options.markers = static_cast<std::uint8_t>(mode[0] - '0');
        } else if (arg == "--wireframe") {
            options.wireframe = true;
        } else if (arg == "--no-world") {
            options.world = false;
        } else if (arg == "--no-cull") {
            options.cull = false;
        } else if (arg == "--select") {
            options.select = value();
        } else if (arg == "--pick") {
            const auto parts = SplitCommas(value());
            if (parts.size() != 2)
                throw UsageError{"--pick takes X,Y"};
            options.pick = std::pair(ParseInt(parts[0], arg), ParseInt(parts[1], arg));
        } else if (arg.starts_with("--") || haveMission) {
            throw UsageError{"unexpected argument '" + arg + "'"};
        } else {
            options.mission = arg;
            haveMission = true;
        }
    }
    if (!haveMission)
        throw UsageError{"MISSION is missing"};
    return options;
}

int RunRender(std::span<const std::string> args);

const tool::ToolCommand kRender{
    "render",
    "MISSION [--out FILE.png] [--size W,H] [--eye X,Y,Z] [--centre X,Y,Z] [--up X,Y,Z] [--markers 0|1|2] "
    "[--wireframe] [--no-world] [--no-cull] [--select NAME] [--pick X,Y]",
    "draw one frame of the editor's world window headless and write it as a PNG",
    RunRender,
};

int Usage(const std::string& text)
{
    std::cerr << "verdax-tool render: " << text << '\n';
    return tool::ReportUsage(kRender);
}

int Failure(const std::string& text)
{
    std::cerr << "error " << VERDAX_ERR_FOREIGN << ": " << text << '\n';
    return tool::kExitFailure;
}

int RunRender(std::span<const std::string> args)
{
    RenderOptions options;
    try {
        options = ParseOptions(args);
    } catch (const UsageError& error) {
        return Usage(error.text);
    }
    auto located = tool::LocateMission(options.mission);
    const tool::ScopedGameFolders folders(*located.folders);
    // The textures are uploaded while the mission loads.
    CHeadlessGlContext context;
    if (!context.IsValid())
        return Failure("no headless OpenGL context: " + context.GetFailure());
    try {
        located.mission->Load();
    } catch (const CVerdaxException& error) {
        return tool::ReportError(error);
    }
    CMission& mission = *located.mission;
    CSceneObjectThing* selected = nullptr;
    if (options.select) {
        selected = mission.FindThing(platform::FromUtf8(*options.select));
        if (!selected)
            return Usage("--select: no thing is named '" + *options.select + "'");
    }

    COffscreenFrame frame(options.width, options.height);
    if (!frame.IsValid())
        return Failure(frame.GetFailure());
    // One frame draws a part of the geometry once: copying all of it into buffer
    // objects first costs more than drawing from the models' own arrays.
    CModelDrawCache::SetBuffersAllowed(false);
    CWorldRenderer renderer;
    renderer.InitGl();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    renderer.GetCamera() = options.camera;
    renderer.Settings() = {options.markers, options.wireframe, options.world, options.cull};
    renderer.SetupProjection(options.width, options.height);
    renderer.SetCurrentObject(&mission);
    renderer.SetSelected(selected);
    renderer.Render();
    glFinish();
    const std::vector<std::uint8_t> pixels = frame.ReadRgb();
    const CSceneObjectThing* picked =
        options.pick ? renderer.Pick(options.pick->first, options.pick->second, options.width, options.height) : nullptr;
    renderer.ReleaseGl();
    if (options.out) {
        std::string failure;
        if (!tool::WritePng(*options.out, options.width, options.height, pixels, failure))
            return Failure(failure);
    }
    if (options.pick) {
        const nlohmann::ordered_json name = picked ? nlohmann::ordered_json(platform::ToUtf8(picked->GetName())) : nullptr;
        std::cout << nlohmann::ordered_json{{"picked", name}}.dump(-1, ' ', false,
                                                                   nlohmann::ordered_json::error_handler_t::replace)
                  << '\n';
    }
    return tool::kExitOk;
}

const tool::ToolCommandRegistrar kRegistrar(kRender);

}  // namespace
