#include "scene/CSceneObjectMissionScript.h"

CSceneObjectMissionScript::~CSceneObjectMissionScript() = default;

std::uint32_t CSceneObjectMissionScript::Load(std::iostream& stream)
{
    BindForReading(stream);
    // The layout is fixed: the declared size is read but not used.
    std::uint32_t size = 0;
    std::uint32_t nameLength = 0;
    std::uint32_t scriptLength = 0;
    std::uint32_t consumed = ReadU32(size);
    consumed += ReadU8(flag_);
    consumed += ReadU32(nameLength);
    consumed += ReadString(name_, nameLength);
    consumed += ReadU32(scriptLength);
    consumed += ReadString(script_, scriptLength);
    return consumed;
}

void CSceneObjectMissionScript::RecodeTexts(const TextRecoder& recode)
{
    name_ = recode(name_);
    script_ = recode(script_);
}

std::uint32_t CSceneObjectMissionScript::Save(std::iostream& stream)
{
    BindForWriting(stream);
    const auto size = static_cast<std::uint32_t>(15 + name_.size() + script_.size());
    std::uint32_t written = WriteU16(kElementId) + WriteU32(size) + WriteU8(flag_);
    written += WriteU32(static_cast<std::uint32_t>(name_.size())) + WriteString(name_, false);
    written += WriteU32(static_cast<std::uint32_t>(script_.size())) + WriteString(script_, false);
    return written;
}
