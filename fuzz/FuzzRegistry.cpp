// The system.reg parser: finds the game's install folder in a Wine registry file.

#include "fuzz/FuzzSupport.h"
#include "platform/CodePage.h"
#include "platform/Registry.h"

#include <optional>

namespace {

void ConsumeValue(const std::optional<std::string>& value)
{
    fuzz::Consume(value ? std::string_view(*value) : std::string_view("<none>"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The code page decides how names and values convert; let the input pick one.
    static constexpr int kCodePages[] = {1250, 1251, 1252};
    platform::SetAnsiCodePage(kCodePages[size % 3]);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ConsumeValue(platform::CWineRegistry::FindString(text, "Software\\Kestrel Works\\Dravo", "idir"));
    ConsumeValue(platform::CWineRegistry::FindString(
        text, "System\\CurrentControlSet\\Control\\Session Manager\\Environment", "PATH"));
    // The fuzz file system resolves nothing through the registry; only the parser runs.
    return 0;
}
