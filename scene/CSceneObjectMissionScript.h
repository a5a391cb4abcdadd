#pragma once
// A mission script: a named script of the mission, an element of the mission-script
// list (section 0xAE50). Unlike the other objects its element has a fixed layout:
//
//   u16 0xAE51, u32 size = 15 + L + T, u8 flag, u32 L, L bytes name, u32 T, T bytes script
//
// The texts carry no terminator. The flag is carried unchanged; the name cannot be
// edited.

#include "scene/CSceneObject.h"

#include <string_view>

class CSceneObjectMissionScript : public CSceneObject {
public:
    static constexpr std::uint16_t kElementId = 0xAE51;

    CSceneObjectMissionScript() = default;
    ~CSceneObjectMissionScript() override;

    std::uint32_t Load(std::iostream& stream) override;
    std::uint32_t Save(std::iostream& stream) override;
    std::string GetName() const override { return name_; }
    std::string GetScript() const override { return script_; }
    void SetScript(const std::string& script) override { script_ = script; }

    std::uint8_t GetFlag() const { return flag_; }
    // GetName and GetScript without a copy, for whoever reads the texts of many objects.
    std::string_view GetNameView() const { return name_; }
    std::string_view GetScriptView() const { return script_; }

private:
    std::string name_;
    std::string script_;
    std::uint8_t flag_ = 1;
};
