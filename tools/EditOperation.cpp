#include "tools/EditOperation.h"

#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "game/CodePageConversion.h"
#include "game/ObjectOperations.h"
#include "platform/CodePage.h"
#include "platform/Unicode.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <string_view>

namespace tool {
namespace {

using Json = nlohmann::json;

enum class List { Things, ThingData, MissionScripts };

[[noreturn]] void Fail(const std::string& message)
{
    throw EditOperationError(message);
}

std::string Quoted(std::string_view utf8)
{
    return "\"" + std::string(utf8) + "\"";
}

const char* ListName(List list)
{
    switch (list) {
    case List::Things: return "things";
    case List::ThingData: return "thing_data";
    case List::MissionScripts: return "mission_scripts";
    }
    return "";
}

void CheckFields(const Json& operation, std::initializer_list<std::string_view> allowed)
{
    for (const auto& [field, value] : operation.items()) {
        if (std::ranges::find(allowed, field) == allowed.end())
            Fail("unknown field " + Quoted(field));
    }
}

List ListOf(const Json& operation)
{
    if (!operation.contains("list"))
        return List::Things;
    const Json& list = operation["list"];
    for (const List candidate : {List::Things, List::ThingData, List::MissionScripts}) {
        if (list.is_string() && list.get<std::string>() == ListName(candidate))
            return candidate;
    }
    Fail("\"list\" must be \"things\", \"thing_data\" or \"mission_scripts\"");
}

// A text of the operation in the game's code page.
std::string Text(const Json& value, std::string_view field)
{
    if (!value.is_string())
        Fail(Quoted(field) + " must be a text");
    const std::string utf8 = value.get<std::string>();
    const int codePage = platform::AnsiCodePage();
    char32_t refused = 0;
    auto text = Utf8ToCodePage(utf8, codePage, &refused);
    if (!text) {
        std::string shown;
        platform::unicode::AppendUtf8(shown, refused);
        char number[16];
        std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(refused));
        Fail(Quoted(field) + ": the character " + Quoted(shown) + " (" + number +
             ") cannot be written in the game's code page (" + std::to_string(codePage) + ")");
    }
    return std::move(*text);
}

// `count` numbers, each finite as a 32-bit float.
template <std::size_t count>
std::array<float, count> Numbers(const Json& value, std::string_view field)
{
    if (!value.is_array() || value.size() != count)
        Fail(Quoted(field) + " must be an array of " + std::to_string(count) + " numbers");
    std::array<float, count> numbers{};
    for (std::size_t i = 0; i < count; ++i) {
        if (!value[i].is_number())
            Fail(Quoted(field) + " must be an array of " + std::to_string(count) + " numbers");
        // Checked before the conversion: a double beyond the float range has no float.
        const double number = value[i].get<double>();
        if (!std::isfinite(number) || std::fabs(number) > std::numeric_limits<float>::max())
            Fail(Quoted(field) + ": " + value[i].dump() + " is not a finite 32-bit number");
        numbers[i] = static_cast<float>(number);
    }
    return numbers;
}

template <class Objects>
CSceneObject& Find(const Objects& objects, List list, const Json& object)
{
    if (object.is_number_integer()) {
        const auto index = object.get<std::int64_t>();
        if (index < 0 || static_cast<std::uint64_t>(index) >= objects.size())
            Fail("index " + std::to_string(index) + " is out of range: " + ListName(list) + " holds " +
                 std::to_string(objects.size()) + " objects");
        return *objects[static_cast<std::size_t>(index)];
    }
    if (!object.is_string())
        Fail("\"object\" must be a name or an index");
    const std::string name = Text(object, "object");
    const auto it = std::ranges::find_if(objects, [&name](const auto& o) { return o->GetName() == name; });
    if (it == objects.end())
        Fail("no object named " + Quoted(object.get<std::string>()) + " in " + ListName(list));
    return **it;
}

CSceneObject& TheObject(const CMission& mission, const Json& operation)
{
    if (!operation.contains("object"))
        Fail("\"object\" is missing");
    const List list = ListOf(operation);
    const Json& object = operation["object"];
    switch (list) {
    case List::Things: return Find(mission.GetThings(), list, object);
    case List::ThingData: return Find(mission.GetThingData(), list, object);
    case List::MissionScripts: return Find(mission.GetMissionScripts(), list, object);
    }
    Fail("no such list");
}

bool IsScriptKind(std::int32_t dataKind)
{
    return dataKind == CSceneObjectThingData::kScriptKind || dataKind == CSceneObjectThingData::kTextKind;
}

// A thing's script is that of its linked thing data.
bool HoldsScript(const CSceneObject& object)
{
    if (const auto* thing = dynamic_cast<const CSceneObjectThing*>(&object))
        return IsScriptKind(thing->GetLinkedDataKind());
    if (const auto* data = dynamic_cast<const CSceneObjectThingData*>(&object))
        return IsScriptKind(data->GetKind());
    return true;
}

// What an object takes of "set": a field it does not have is refused.
void CheckSettable(const CSceneObject& object, const Json& operation)
{
    const auto* thing = dynamic_cast<const CSceneObjectThing*>(&object);
    const bool isScript = dynamic_cast<const CSceneObjectMissionScript*>(&object) != nullptr;
    // Kind 0x1001 is written with its name and its block alone.
    const bool transform = thing && thing->GetKind() != CSceneObjectThing::kKindDataB401;
    const auto refuse = [&operation](std::string_view field, bool has, const char* why) {
        if (operation.contains(field) && !has)
            Fail(Quoted(field) + ": " + why);
    };
    refuse("name", !isScript, "a mission script's name cannot be set");
    const char* noTransform = thing ? "a thing of this kind is written without a transform"
                                    : "only things have a transform";
    refuse("translation", transform, noTransform);
    refuse("rotation", transform, noTransform);
    refuse("scale", transform, noTransform);
    refuse("script", HoldsScript(object),
           thing ? "the thing has no linked thing data holding a script" : "this kind of thing data holds no script");
}

EditKind KindOf(const ObjectEdit& edit)
{
    const int fields = edit.name.has_value() + edit.translation.has_value() + edit.rotation.has_value() +
                       edit.scale.has_value() + edit.script.has_value();
    if (fields == 1 && edit.name)
        return EditKind::Rename;
    if (fields == 1 && edit.translation)
        return EditKind::Translate;
    if (fields == 1 && edit.scale)
        return EditKind::Scale;
    if (fields == 1 && edit.script)
        return EditKind::Script;
    return EditKind::Transform;
}

void Set(CDravoDon& don, CMission& mission, const Json& operation)
{
    CheckFields(operation, {"op", "object", "list", "name", "translation", "rotation", "scale", "script"});
    CSceneObject& object = TheObject(mission, operation);
    CheckSettable(object, operation);
    ObjectEdit edit;
    if (operation.contains("name"))
        edit.name = Text(operation["name"], "name");
    if (operation.contains("translation")) {
        const auto v = Numbers<3>(operation["translation"], "translation");
        edit.translation = Vector3{v[0], v[1], v[2]};
    }
    if (operation.contains("rotation")) {
        const auto r = Numbers<4>(operation["rotation"], "rotation");
        edit.rotation = AxisAngle{r[0], r[1], r[2], r[3]};
    }
    if (operation.contains("scale")) {
        const auto v = Numbers<3>(operation["scale"], "scale");
        edit.scale = Vector3{v[0], v[1], v[2]};
    }
    if (operation.contains("script"))
        edit.script = Text(operation["script"], "script");
    edit.kind = KindOf(edit);
    don.ApplyEdit(nullptr, object, edit);
}

void Duplicate(CDravoDon& don, CMission& mission, const Json& operation)
{
    CheckFields(operation, {"op", "object", "list", "as"});
    CSceneObject& object = TheObject(mission, operation);
    std::optional<std::string> name;
    if (operation.contains("as")) {
        name = Text(operation["as"], "as");
        if (!IsCopyNameFree(mission, object, *name))
            Fail("\"as\": the name " + Quoted(operation["as"].get<std::string>()) + " is taken");
    }
    DuplicateObject(don, mission, object, name ? &*name : nullptr);
}

void Delete(CDravoDon& don, CMission& mission, const Json& operation)
{
    CheckFields(operation, {"op", "object", "list"});
    DeleteObject(don, mission, TheObject(mission, operation));
}

}  // namespace

void ApplyEditOperation(CDravoDon& don, CMission& mission, const Json& operation)
{
    if (!operation.is_object())
        Fail("an operation must be a JSON object");
    if (!operation.contains("op") || !operation["op"].is_string())
        Fail("\"op\" must be \"set\", \"duplicate\" or \"delete\"");
    const std::string op = operation["op"].get<std::string>();
    if (op == "set")
        Set(don, mission, operation);
    else if (op == "duplicate")
        Duplicate(don, mission, operation);
    else if (op == "delete")
        Delete(don, mission, operation);
    else
        Fail("unknown op " + Quoted(op));
}

}  // namespace tool
