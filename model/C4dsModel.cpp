#include "model/C4dsModel.h"

#include "core/CVerdaxException.h"

void C4dsModel::Load(const std::string& text, bool pathForm)
{
    name_ = pathForm ? std::string("scene") : text;
    throw CVerdaxException(VERDAX_ERR_OPEN_READ);
}

void C4dsModel::Clear()
{
    name_.clear();
    loaded_ = false;
}
