#include "core/CVerdaxException.h"

#include "core/StringTable.h"
#include "platform/MessagePresenter.h"

#include <utility>

CVerdaxException::CVerdaxException(std::int32_t code) : code_(code) {}

CVerdaxException::CVerdaxException(std::int32_t code, std::string text) : text_(std::move(text)), code_(code)
{
    platform::Presenter().ShowText(text_);
}

CVerdaxException::~CVerdaxException() = default;

void ShowStringMessage(int id)
{
    platform::Presenter().ShowMessage(id, LoadString(id));
}
