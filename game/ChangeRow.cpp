#include "game/ChangeRow.h"

#include "core/StringTable.h"
#include "game/CMission.h"
#include "platform/CodePage.h"

#include <algorithm>

namespace {

std::string_view FieldWord(SceneField field)
{
    switch (field) {
    case SceneField::kName: return "имя";
    case SceneField::kKind: return "тип";
    case SceneField::kTranslation: return "позиция";
    case SceneField::kRotation: return "поворот";
    case SceneField::kScale: return "масштаб";
    case SceneField::kModel: return "модель";
    case SceneField::kSector: return "сектор";
    case SceneField::kScript: return "скрипт";
    case SceneField::kData: return "данные";
    }
    return {};
}

// A text in quotes, in UTF-8; a number or floats as verdax-tool prints them.
std::string ValueText(const SceneValue& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return "«" + platform::ToUtf8(*text) + "»";
    return SceneValueText(value);
}

// "позиция: [0, 0, 0] → [1, 0, 0]"; a script and the data tell only that they differ.
std::string FieldText(const SceneFieldChange& field)
{
    const std::string word(FieldWord(field.field));
    if (field.field == SceneField::kScript)
        return word + ": изменён";
    if (field.field == SceneField::kData)
        return word + ": изменены";
    return word + ": " + ValueText(field.before) + " → " + ValueText(field.after);
}

std::string JoinedFields(const SceneChange& change)
{
    switch (change.change) {
    case SceneChangeKind::kAdded: return "добавлен";
    case SceneChangeKind::kRemoved: return "удалён";
    case SceneChangeKind::kChanged: break;
    }
    std::string text;
    for (const SceneFieldChange& field : change.fields)
        text += (text.empty() ? "" : "; ") + FieldText(field);
    return text;
}

// "текст: «...» → «...»", "слово 1: 2 → 3", "раздел AE02: изменён".
std::string HeaderFieldText(const SceneHeaderChange& field)
{
    if (field.field.starts_with("section_"))
        return "раздел " + field.field.substr(8) + ": изменён";
    if (field.field == "word1" || field.field == "word2")
        return "слово " + field.field.substr(4) + ": " + ValueText(field.before) + " → " + ValueText(field.after);
    return "текст: " + ValueText(field.before) + " → " + ValueText(field.after);
}

std::string ListText(SceneList list)
{
    switch (list) {
    case SceneList::kThings: return std::string(LoadString(IDS_CATEGORY_THINGS));
    case SceneList::kThingData: return std::string(LoadString(IDS_CATEGORY_THING_DATA));
    case SceneList::kMissionScripts: return std::string(LoadString(IDS_CATEGORY_SCRIPTS));
    }
    return {};
}

template <class Objects>
CSceneObject* ObjectAt(const Objects& objects, std::size_t index)
{
    return index < objects.size() ? objects[index].get() : nullptr;
}

CSceneObject* ListObject(const CMission& mission, SceneList list, std::size_t index)
{
    switch (list) {
    case SceneList::kThings: return ObjectAt(mission.GetThings(), index);
    case SceneList::kThingData: return ObjectAt(mission.GetThingData(), index);
    case SceneList::kMissionScripts: return ObjectAt(mission.GetMissionScripts(), index);
    }
    return nullptr;
}

// As the mission tree shows it: a thing without a name by its model in brackets,
// any other object without a name as "[---]".
std::string TreeText(const SceneChange& change, const CMission& mission)
{
    const CSceneObject* object = change.afterIndex ? ListObject(mission, change.list, *change.afterIndex) : nullptr;
    if (!change.object.empty())
        return platform::ToUtf8(change.object);
    if (const auto* thing = dynamic_cast<const CSceneObjectThing*>(object))
        return "[" + platform::ToUtf8(thing->GetModelName()) + "]";
    return "[---]";
}

ChangeRow RowOf(const SceneChange& change, const CMission& mission)
{
    ChangeRow row;
    row.group = change.bySave ? ChangeRowGroup::kSave : ChangeRowGroup::kEdit;
    row.list = change.list;
    row.change = change.change;
    row.index = change.afterIndex;
    row.beforeIndex = change.beforeIndex;
    row.objectName = change.object;
    row.objectText = TreeText(change, mission);
    row.listText = ListText(change.list);
    row.changeText = JoinedFields(change);
    return row;
}

// The editor edits nothing of the header: whatever differs there, the save changes.
ChangeRow HeaderRow(const std::vector<SceneHeaderChange>& header)
{
    ChangeRow row;
    row.group = ChangeRowGroup::kSave;
    row.objectText = "Заголовок файла";
    row.listText = "Заголовок";
    for (const SceneHeaderChange& field : header)
        row.changeText += (row.changeText.empty() ? "" : "; ") + HeaderFieldText(field);
    return row;
}

}  // namespace

bool ChangeRow::SameObject(const ChangeRow& other) const
{
    return group == other.group && list == other.list && change == other.change && index == other.index &&
           beforeIndex == other.beforeIndex && objectName == other.objectName;
}

std::vector<ChangeRow> MakeChangeRows(const SceneComparison& comparison, const CMission& mission)
{
    std::vector<ChangeRow> rows;
    rows.reserve(comparison.changes.size() + 1);
    for (const SceneChange& change : comparison.changes)
        rows.push_back(RowOf(change, mission));
    std::stable_partition(rows.begin(), rows.end(), [](const ChangeRow& row) { return row.group == ChangeRowGroup::kEdit; });
    if (!comparison.header.empty())
        rows.push_back(HeaderRow(comparison.header));
    return rows;
}

CSceneObject* ChangeRowObject(const ChangeRow& row, const CMission& mission)
{
    if (!row.list || !row.index)
        return nullptr;
    CSceneObject* object = ListObject(mission, *row.list, *row.index);
    return object && object->GetName() == row.objectName ? object : nullptr;
}
