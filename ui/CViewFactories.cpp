#include "ui/CViewFactories.h"

namespace ui {

void CViewFactories::Set(int kind, Factory factory)
{
    factories_[kind] = std::move(factory);
}

QWidget* CViewFactories::Make(int kind, CVerdaxData* object) const
{
    const auto factory = factories_.find(kind);
    if (factory == factories_.end() || !factory->second)
        return nullptr;
    return factory->second(object);
}

}  // namespace ui
