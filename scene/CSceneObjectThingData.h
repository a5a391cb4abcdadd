#pragma once
// A thing data: a named data block of the thing-data list (section 0xAE20), linked
// after reading to the thing of the same name. Its element holds three inner chunks:
//
//   0xAE22  u32 kind
//   0xAE23  chunk text: the name
//   0xAE24  data by kind: the raw kinds carry their content as bytes; kind 5 holds
//           two u32, a u16 and a counted text (the script); kind 27 holds 79 bytes
//           and a counted text (the script)
//
// The data is read by kind and written back from what is held, so the script can be
// edited while everything else comes out as it went in.

#include "scene/CSceneObject.h"

#include <array>
#include <span>
#include <string_view>

class CSceneObjectThingData : public CSceneObject {
public:
    static constexpr std::uint16_t kElementId = 0xAE21;
    static constexpr std::int32_t kScriptKind = 5;
    static constexpr std::int32_t kTextKind = 27;

    CSceneObjectThingData() = default;
    ~CSceneObjectThingData() override;

    std::uint32_t Load(std::iostream& stream) override;
    std::uint32_t Save(std::iostream& stream) override;
    std::string GetName() const override { return name_; }
    void SetName(const std::string& name) override { name_ = name; }
    // Kinds 5 and 27 hold a script; the others an empty one that cannot be set.
    std::string GetScript() const override;
    void SetScript(const std::string& script) override;

    std::int32_t GetKind() const { return kind_; }
    // GetName and GetScript without a copy, for whoever reads the texts of many objects.
    std::string_view GetNameView() const { return name_; }
    std::string_view GetScriptView() const;
    // Kinds whose 0xAE24 content is carried as raw bytes.
    static bool IsRawKind(std::int32_t kind);

private:
    std::uint32_t ReadKindData();
    std::uint32_t ReadScriptKindData();
    std::uint32_t ReadTextKindData();
    std::uint32_t WriteKindData();
    std::uint32_t WriteCountedText(std::span<const std::uint8_t> text);
    // Kind 5's script as held: the bytes before the first zero.
    std::span<const std::uint8_t> ScriptBytes() const;

    // No kind has been read yet: a 0xAE24 with content before any 0xAE22 is refused.
    std::int32_t kind_ = 0;
    std::string name_;
    std::uint32_t value1_ = 0;
    std::uint32_t value2_ = 0;
    std::uint16_t word3_ = 0;
    // Kind 5: the script and one zero byte; raw kinds: the whole content.
    std::vector<std::uint8_t> data_;
    std::array<std::uint8_t, 79> data27_{};
    std::string text27_;
};
