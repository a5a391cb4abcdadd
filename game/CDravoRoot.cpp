#include "game/CDravoRoot.h"

#include "core/CVerdaxException.h"
#include "platform/Registry.h"

CDravoRoot::CDravoRoot() = default;
CDravoRoot::~CDravoRoot() = default;

std::string CDravoRoot::ReadInstallFolder()
{
    auto folder = platform::Registry().ReadMachineString("Software\\Kestrel Works\\Dravo", "idir");
    if (!folder)
        throw CVerdaxException(VERDAX_ERR_REGISTRY);
    return *folder;
}
