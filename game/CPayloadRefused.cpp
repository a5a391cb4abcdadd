#include "game/CPayloadRefused.h"

#include "game/CodePageConversion.h"

#include <utility>

namespace {

constexpr const char* kNothingPasted = " Ничего не вставлено.";

}  // namespace

CPayloadRefused::CPayloadRefused(int code, char32_t character, std::string message)
    : code_(code), character_(character), message_(std::move(message))
{
}

CPayloadRefused CPayloadRefused::Malformed(int code)
{
    return {code, 0, "Объекты в буфере обмена повреждены (ошибка " + std::to_string(code) + ")." + kNothingPasted};
}

CPayloadRefused CPayloadRefused::Unrepresentable(char32_t character, int codePage)
{
    return {0, character, UnrepresentableMessage(character, codePage) + kNothingPasted};
}
