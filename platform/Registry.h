#pragma once
// One string value of a key under the machine-wide registry root (HKEY_LOCAL_MACHINE).
// On Linux it is read from the Wine prefix's system.reg.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class IRegistry {
public:
    virtual ~IRegistry() = default;

    // The value's text (system code page bytes), or nothing when the key or value is
    // missing, or the value is longer than 1023 characters. The text is the value's
    // whole data: a value that holds NULs (a multi-string) keeps them.
    virtual std::optional<std::string> ReadMachineString(std::string_view key, std::string_view value) const = 0;
};

// The registry in force: system.reg of $WINEPREFIX (default ~/.wine).
const IRegistry& Registry();

// Installs `registry` (not owned); null restores the default.
void SetRegistry(const IRegistry* registry);

// The Wine prefix named by $WINEPREFIX, else ~/.wine; read anew at each call.
std::filesystem::path WinePrefix();

// The ANSI code page that Wine records in `prefix`'s system.reg, the one the
// prefix's programs run with: the value "ACP" under
// System\CurrentControlSet\Control\Nls\CodePage. Nothing when the file, the key or
// the value is missing, or the value is not a number.
std::optional<int> PrefixAnsiCodePage(const std::filesystem::path& prefix);

// The machine-wide registry of a Wine prefix, read from its system.reg as Wine
// writes it: "WINE REGISTRY Version 2", "[Key\\Path] time" lines relative to
// HKEY_LOCAL_MACHINE, then "name"="text", @="text" or "name"=str(N):"text" values,
// with Wine's escapes (\\, \", \xHHHH for a UTF-16 unit, \n and the like, octal).
// Key and value names compare without regard to letter case. In a 64-bit prefix
// ("#arch=win64") a key under "Software\" is looked for under "Software\Wow6432Node\"
// first, where a 32-bit program such as the game finds it. Values of other types
// (dword:, hex:) are not strings and are not found.
class CWineRegistry final : public IRegistry {
public:
    // The prefix of WinePrefix(), looked up at each read.
    CWineRegistry() = default;
    explicit CWineRegistry(std::filesystem::path prefix) : prefix_(std::move(prefix)) {}

    std::optional<std::string> ReadMachineString(std::string_view key, std::string_view value) const override;

    // The same lookup in a system.reg text; the prefix plays no part.
    static std::optional<std::string> FindString(std::string_view systemReg, std::string_view key,
                                                 std::string_view value);

private:
    std::optional<std::filesystem::path> prefix_;
};

}  // namespace platform
