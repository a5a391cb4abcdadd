#pragma once
// A thing: one placed object of the mission, an element (0x4010) of the thing list
// (section 0x4000). It has a name, a kind, a transform and, by kind, a model name,
// an initial sector and several blocks carried without being interpreted. It owns
// the model drawn for it and may be linked to the thing data of the same name, which
// holds its script.
//
// A thing reads every inner chunk it knows and refuses any other with 6007. On
// writing it does not copy its input: it writes the chunks its kind selects, in a
// fixed order, and the optional ones only when they were read (or, for the
// transform, edited).

#include "model/C4dsModel.h"
#include "scene/CSceneObject.h"

#include <array>
#include <memory>
#include <string_view>

class CSceneObjectThingData;

// A rotation as the file stores it.
struct Quaternion {
    float w = 1.0f;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

AxisAngle QuaternionToAxisAngle(const Quaternion& q);
Quaternion AxisAngleToQuaternion(const AxisAngle& rotation);

class CSceneObjectThing : public CSceneObject {
public:
    static constexpr std::uint16_t kElementId = 0x4010;

    // The kinds with a layout of their own on writing.
    enum Kind : std::int32_t {
        kKindBlock2 = 2,
        kKindBlock4 = 4,
        kKindData4050 = 6,
        kKindModel = 9,
        kKindData4083 = 12,
        kKindDataB151 = 14,
        kKindData40A0 = 0x1000,
        kKindDataB401 = 0x1001,
        kKindPlain = 0x1002,
        kKindDataB110 = 0x1003,
    };

    // Kind-2 data (chunk 0x4040), carried unchanged.
    struct Block2 {
        std::uint32_t value4041 = 0;
        std::array<std::uint8_t, 12> data0026{};
        std::uint32_t value4042 = 0;
        std::array<std::uint8_t, 8> data4043{};
        std::array<std::uint8_t, 8> data4044{};
        std::array<std::uint16_t, 2> words4045{};
        std::vector<std::string> texts4046;
    };

    // Kind-4 data (chunk 0x4060), carried unchanged.
    struct Block4 {
        std::uint32_t value4061 = 0;
        std::uint32_t value4062 = 0;
        std::uint32_t value4063 = 0;
        std::array<std::uint8_t, 8> data4064{};
        std::array<std::uint8_t, 16> data4068{};  // read from 0x4066, 0x4067 or 0x4068
        std::uint32_t valueB800 = 0;
        std::string text0010;
        std::vector<std::string> textsB200;
        std::string textB201;
    };

    // Which optional chunks were read (or, for the transform, set).
    struct Presence {
        bool chunk4066 = false;
        bool chunkB200 = false;
        bool chunkB201 = false;
        bool chunk4033 = false;
        bool chunk4046 = false;
        bool sector = false;
        bool data002C = false;
        bool translation = false;
        bool rotation = false;
        bool scale = false;
    };

    CSceneObjectThing();
    ~CSceneObjectThing() override;

    std::uint32_t Load(std::iostream& stream) override;
    std::uint32_t Save(std::iostream& stream) override;
    std::string GetName() const override { return name_; }
    void SetName(const std::string& name) override { name_ = name; }
    Vector3 GetTranslation() const override { return translation_; }
    // The transform setters mark their chunk present, so that kinds whose layout
    // writes it only when present do not drop the edit.
    void SetTranslation(const Vector3& translation) override;
    AxisAngle GetRotation() const override { return rotation_; }
    void SetRotation(const AxisAngle& rotation) override;
    void SetScale(const Vector3& scale) override;
    Vector3 GetScale() const override { return scale_; }
    // Forwarded to the linked thing data; empty and ignored without one.
    std::string GetScript() const override;
    void SetScript(const std::string& script) override;

    std::int32_t GetKind() const { return kind_; }
    // The name without a copy, for whoever reads the texts of many objects.
    std::string_view GetNameView() const { return name_; }
    const std::string& GetModelName() const { return modelName_; }
    C4dsModel& GetModel() { return model_; }
    const C4dsModel& GetModel() const { return model_; }
    const std::string& GetSectorName() const { return sectorName_; }
    CSceneObjectThingData* GetLinkedData() const { return linkedData_; }
    // The linked thing data's kind, or -1 when none is linked.
    std::int32_t GetLinkedDataKind() const;
    // Not owned: the mission owns the thing data.
    void SetLinkedData(CSceneObjectThingData* data) { linkedData_ = data; }

    // Loads the model named by the model name without its extension from the game's
    // models folder. False, keeping an unloaded model, when the name is empty or the
    // model cannot be loaded; never raises.
    bool LoadModel();

    const Presence& GetPresence() const { return present_; }
    // Puts back which transform chunks count as present, as they were before an edit
    // whose setters marked them (undo restores the file's layout, not only values).
    void RestoreTransformPresence(bool translation, bool rotation, bool scale);
    const Block2& GetBlock2() const { return Parts().block2; }
    const Block4& GetBlock4() const { return Parts().block4; }

private:
    // What only things of some kinds hold. Kept apart, made when the first of its
    // chunks is read: the thousands of model things of a large mission would
    // otherwise each carry about 600 bytes they never use.
    struct KindParts {
        std::array<std::uint8_t, 24> data4050{};
        std::vector<std::uint8_t> dataB151;
        std::array<std::uint8_t, 236> dataB401{};
        Block2 block2;
        std::vector<std::uint8_t> data40A0;
        std::string text4090;
        Block4 block4;
        std::vector<std::uint8_t> data4083;
        std::vector<std::uint8_t> dataB110;
    };
    // The parts read, or empty parts (as a new thing's) when none were.
    const KindParts& Parts() const;
    KindParts& MutableParts();

    std::uint32_t ReadInnerChunk(std::uint16_t id);
    std::uint32_t ReadRotation();
    std::uint32_t ReadSector();
    std::uint32_t ReadBlock2();
    std::uint32_t ReadBlock4();

    std::uint32_t WriteInnerChunks();
    std::uint32_t WriteKindChunk();
    std::uint32_t WriteTransform(bool scaleBeforeRotation, bool onlyPresent);
    std::uint32_t WriteRotation();
    std::uint32_t WriteSector();
    std::uint32_t WriteBlock2();
    std::uint32_t WriteBlock4();

    std::int32_t kind_ = kKindPlain;
    std::string name_;
    // A thing written with a transform it never read gets the identity.
    Vector3 translation_{};
    AxisAngle rotation_{0.0f, 1.0f, 0.0f, 0.0f};
    Vector3 scale_{1.0f, 1.0f, 1.0f};
    std::string modelName_;
    C4dsModel model_;
    std::array<std::uint8_t, 12> data002C_{};
    std::string sectorName_;
    Presence present_;
    std::unique_ptr<KindParts> parts_;
    CSceneObjectThingData* linkedData_ = nullptr;
};
