// Placeholder: finds nothing; the system.reg reader is being built.
#include "platform/Registry.h"

namespace platform {
namespace {

class EmptyRegistry final : public IRegistry {
public:
    std::optional<std::string> ReadMachineString(std::string_view, std::string_view) const override { return {}; }
};

const IRegistry* g_registry = nullptr;

}  // namespace

const IRegistry& Registry()
{
    static const EmptyRegistry registry;
    return g_registry ? *g_registry : registry;
}

void SetRegistry(const IRegistry* registry)
{
    g_registry = registry;
}

}  // namespace platform
