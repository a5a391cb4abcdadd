#pragma once
// One string value of a key under the machine-wide registry root (HKEY_LOCAL_MACHINE).
// On Linux it is read from the Wine prefix's system.reg.

#include <optional>
#include <string>
#include <string_view>

namespace platform {

class IRegistry {
public:
    virtual ~IRegistry() = default;

    // The value's text (system code page bytes), or nothing when the key or value is
    // missing, or the value is longer than 1023 characters.
    virtual std::optional<std::string> ReadMachineString(std::string_view key, std::string_view value) const = 0;
};

// The registry in force: system.reg of $WINEPREFIX (default ~/.wine).
const IRegistry& Registry();

// Installs `registry` (not owned); null restores the default.
void SetRegistry(const IRegistry* registry);

}  // namespace platform
