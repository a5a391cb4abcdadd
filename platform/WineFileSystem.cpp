#include "platform/FileSystem.h"

#include "platform/CodePage.h"
#include "platform/Registry.h"
#include "platform/Unicode.h"

#include <algorithm>
#include <cctype>
#include <dirent.h>
#include <functional>
#include <iterator>
#include <memory>
#include <span>

namespace platform {
namespace {

namespace fs = std::filesystem;

// Where a path starts, and the part of it below that start.
struct PathStart {
    fs::path base;
    std::string rest;   // UTF-8 or Linux bytes, '/' separated
    bool linux = false;  // names stay as given, and List adds '/' between folder and name
    char drive = 0;      // the drive letter when `base` is its link as Wine names it, not yet looked up
};

bool IsSlash(char c)
{
    return c == '\\' || c == '/';
}

bool HasDriveLetter(std::string_view path)
{
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

std::string WithForwardSlashes(std::string text)
{
    std::ranges::replace(text, '\\', '/');
    return text;
}

// Wine names the links "c:", "d:", ...
fs::path DriveLink(const fs::path& prefix, char letter)
{
    return prefix / "dosdevices" / std::string{static_cast<char>(std::tolower(static_cast<unsigned char>(letter))), ':'};
}

// The drive's link; a prefix made by hand may use capitals.
fs::path DriveRoot(const fs::path& prefix, char letter)
{
    const fs::path devices = prefix / "dosdevices";
    const fs::path link = DriveLink(prefix, letter);
    std::error_code ec;
    if (fs::symlink_status(link, ec).type() == fs::file_type::not_found) {
        const fs::path upper = devices / std::string{static_cast<char>(std::toupper(static_cast<unsigned char>(letter))), ':'};
        if (fs::symlink_status(upper, ec).type() != fs::file_type::not_found)
            return upper;
    }
    return link;
}

// `prefix` is asked only for a path that starts at a drive or at the prefix's devices.
PathStart Classify(std::string_view path, const std::function<fs::path()>& prefix)
{
    if (!path.empty() && path[0] == '/')
        return {"/", WithForwardSlashes(std::string(path.substr(1))), true};
    if (HasDriveLetter(path))
        return {DriveLink(prefix(), path[0]), WithForwardSlashes(ToUtf8(path.substr(2))), false, path[0]};
    if (path.size() >= 2 && path[0] == '\\' && IsSlash(path[1]))
        return {prefix() / "dosdevices" / "unc", WithForwardSlashes(ToUtf8(path.substr(2))), false};
    if (!path.empty() && path[0] == '\\')
        return {DriveLink(prefix(), 'c'), WithForwardSlashes(ToUtf8(path.substr(1))), false, 'c'};
    std::error_code ec;
    return {fs::current_path(ec), WithForwardSlashes(std::string(path)), true};
}

std::vector<std::string> SplitComponents(const std::string& rest)
{
    std::vector<std::string> components;
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = rest.find('/', start);
        if (end == std::string::npos)
            end = rest.size();
        if (end > start)
            components.push_back(rest.substr(start, end - start));
        start = end + 1;
    }
    return components;
}

bool Exists(const fs::path& path)
{
    std::error_code ec;
    return fs::symlink_status(path, ec).type() != fs::file_type::not_found && !ec;
}

bool IsAscii(std::string_view text)
{
    return std::ranges::all_of(text, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool EqualAsciiNoCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, {}, [](char c) { return std::tolower(static_cast<unsigned char>(c)); },
                              [](char c) { return std::tolower(static_cast<unsigned char>(c)); });
}

// The entry of `folder` whose name equals `name` without regard to case; of several
// (possible on a case-sensitive disk) the first in byte order, so the answer does not
// depend on the order of the folder. Read with readdir: a miss lists the whole folder,
// and the filesystem library's iterator costs several allocations an entry. Names all
// in ASCII, nearly every name, compare without decoding: case folding takes no other
// code point to ASCII.
std::optional<std::string> FindWithoutCase(const fs::path& folder, const std::string& name)
{
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(folder.c_str()), ::closedir);
    if (!listing)
        return std::nullopt;
    const bool asciiName = IsAscii(name);
    std::optional<std::u32string> wanted;  // decoded when a name needs it
    std::optional<std::string> found;
    while (const dirent* entry = ::readdir(listing.get())) {
        const std::string_view candidate = entry->d_name;
        if (candidate == "." || candidate == "..")
            continue;
        bool equal = false;
        if (asciiName && IsAscii(candidate)) {
            equal = EqualAsciiNoCase(candidate, name);
        } else {
            if (!wanted)
                wanted = unicode::DecodeUtf8(name);
            equal = unicode::EqualNoCase(unicode::DecodeUtf8(candidate), *wanted);
        }
        if (equal && (!found || candidate < *found))
            found = std::string(candidate);
    }
    return found;
}

void AppendName(std::string& text, std::string_view name)
{
    if (!text.empty() && text.back() != '/')
        text += '/';
    text += name;
}

// Spelled out as one text and made a path once: appending name by name would parse
// the growing path again at every step.
fs::path Join(const fs::path& base, std::span<const std::string> names)
{
    std::string text = base.native();
    for (const auto& name : names)
        AppendName(text, name);
    return text;
}

std::string Separator(std::string_view folder, bool linux)
{
    if (folder.empty() || IsSlash(folder.back()))
        return {};
    return linux ? "/" : "\\";
}

const IFileSystem* g_fs = nullptr;

// The path as spelled, when it needs no folder stepping: "." and ".." stay for the
// component walk, since the kernel would follow ".." through links (and above the drive).
// Joined as the walk joins its components, without splitting it into them first.
std::optional<fs::path> ExactSpelling(const fs::path& base, std::string_view rest)
{
    std::string text = base.native();
    std::size_t start = 0;
    while (start <= rest.size()) {
        const std::size_t end = std::min(rest.find('/', start), rest.size());
        const std::string_view name = rest.substr(start, end - start);
        if (name == "." || name == "..")
            return std::nullopt;
        if (!name.empty())
            AppendName(text, name);
        start = end + 1;
    }
    return text;
}

// Component by component: each one absent in exactly that spelling is looked for in
// any letter case; "." is dropped and ".." steps back, never above `base`. The first
// `known` components are known to exist as spelled.
fs::path ResolveByComponents(const fs::path& base, std::vector<std::string> components, std::size_t known = 0)
{
    std::vector<std::string> resolved(std::make_move_iterator(components.begin()),
                                      std::make_move_iterator(components.begin() + static_cast<std::ptrdiff_t>(known)));
    bool missing = false;  // below a missing component nothing can be found
    for (auto& component : std::span(components).subspan(known)) {
        if (component == ".")
            continue;
        if (component == "..") {
            if (!resolved.empty())
                resolved.pop_back();
            missing = missing && !resolved.empty() && !Exists(Join(base, resolved));
            continue;
        }
        if (!missing && !Exists(Join(base, resolved) / component)) {
            if (auto match = FindWithoutCase(Join(base, resolved), component))
                component = std::move(*match);
            else
                missing = true;
        }
        resolved.push_back(std::move(component));
    }
    return Join(base, resolved);
}

// How many leading components exist exactly as spelled, looked up from the deepest
// folder up: a path that misses usually misses only in its last names, so this costs a
// lookup or two where a walk from the top would cost one per folder. Whatever exists
// has every folder above it existing too, so the answer is the walk's.
std::size_t ExistingDepth(const fs::path& base, std::span<const std::string> components, std::size_t deepest)
{
    for (std::size_t depth = deepest; depth > 0; --depth) {
        if (Exists(Join(base, components.first(depth))))
            return depth;
    }
    return 0;
}

}  // namespace

fs::path CWineFileSystem::Prefix() const
{
    return prefix_ ? *prefix_ : WinePrefix();  // value_or would look the prefix up every time
}

// Nearly every path the game's files name exists exactly as spelled: one lookup of
// the whole path then answers, and the search of each folder without regard to case
// runs only when it fails. Both give the same answer for an existing path, since every
// component of it exists in exactly that spelling (the drive's link in Wine's lower
// case too, which the drive's lookup would then have chosen).
fs::path CWineFileSystem::Resolve(std::string_view windowsPath) const
{
    const PathStart start = Classify(windowsPath, [this] { return Prefix(); });
    const auto exact = ExactSpelling(start.base, start.rest);
    if (exact && Exists(*exact))
        return *exact;
    std::vector<std::string> components = SplitComponents(start.rest);
    const fs::path base = start.drive ? DriveRoot(Prefix(), start.drive) : start.base;
    // With "." or "..", which step through the folders, every component is walked.
    // The whole path was just looked up, unless the drive's link is spelt otherwise.
    const std::size_t deepest = base == start.base && !components.empty() ? components.size() - 1 : components.size();
    const std::size_t known = exact ? ExistingDepth(base, components, deepest) : 0;
    return ResolveByComponents(base, std::move(components), known);
}

std::vector<FolderEntry> CWineFileSystem::List(std::string_view windowsFolder) const
{
    const bool linux = Classify(windowsFolder, [this] { return Prefix(); }).linux;
    std::error_code ec;
    fs::directory_iterator it(Resolve(windowsFolder), ec);
    if (ec)
        return {};
    const std::string prefix = std::string(windowsFolder) + Separator(windowsFolder, linux);
    std::vector<FolderEntry> entries{{prefix + ".", true}, {prefix + "..", true}};
    for (fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        entries.push_back({prefix + (linux ? name : FromUtf8(name)), it->is_directory(typeError)});
    }
    return entries;
}

const IFileSystem& FileSystem()
{
    static const CWineFileSystem fs;
    return g_fs ? *g_fs : fs;
}

void SetFileSystem(const IFileSystem* fs)
{
    g_fs = fs;
}

}  // namespace platform
