#include "ui/CItemTreeItem.h"

#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "scene/CSceneObjectThing.h"
#include "scene/CSceneObjectThingData.h"
#include "ui/CItemTreeView.h"
#include "ui/CodePageText.h"
#include "ui/IconStrips.h"

namespace ui {
namespace {

int CategoryIcon(int category)
{
    switch (category) {
    case CATEGORY_WHOLE: return ICON_WHOLE;
    case CATEGORY_THING_DATA: return ICON_THING_DATA;
    case CATEGORY_THINGS: return ICON_THING;
    case CATEGORY_SCRIPTS: return ICON_SCRIPT;
    default: return ICON_UNKNOWN_CATEGORY;
    }
}

}  // namespace

CItemTreeItem::CItemTreeItem(CVerdaxData* object, int icon) : QTreeWidgetItem(kType), object_(object), icon_(icon) {}

CItemTreeItem::CItemTreeItem(int category, const QString& caption)
    : QTreeWidgetItem(kType), category_(category), caption_(caption)
{
}

int CItemTreeItem::GetIcon() const
{
    if (category_ != 0)
        return CategoryIcon(category_);
    if (const auto* mission = dynamic_cast<const CMission*>(object_))
        return mission->IsLoaded() ? ICON_MISSION_LOADED : ICON_MISSION_LISTED;
    // A thing's data block can be deleted, or brought back by undo, after the row is made.
    if (const auto* thing = dynamic_cast<const CSceneObjectThing*>(object_))
        return ThingIcon(thing->GetLinkedDataKind());
    return icon_;
}

int CItemTreeItem::ThingIcon(int linkedDataKind)
{
    switch (linkedDataKind) {
    case CSceneObjectThingData::kScriptKind: return ICON_THING_SCRIPTED;
    case CSceneObjectThingData::kTextKind: return ICON_THING_FIGURE;
    case -1: return ICON_THING;
    default: return ICON_THING_DATA_BLOCK;
    }
}

QString CItemTreeItem::DisplayText() const
{
    if (category_ != 0)
        return caption_;
    if (const auto* mission = dynamic_cast<const CMission*>(object_)) {
        const bool modified = CDravoDon::Instance().IsMissionModified(*mission);
        return TextFromCodePage(mission->GetName()) + (modified ? QStringLiteral(" *") : QString());
    }
    if (const auto* thing = dynamic_cast<const CSceneObjectThing*>(object_))
        return ObjectText(*thing);
    if (const auto* object = dynamic_cast<const CSceneObject*>(object_))
        return ObjectText(*object);
    return {};
}

QString CItemTreeItem::ObjectText(const CSceneObjectThing& thing)
{
    const std::string name = thing.GetName();
    return name.empty() ? QStringLiteral("[%1]").arg(TextFromCodePage(thing.GetModelName())) : TextFromCodePage(name);
}

QString CItemTreeItem::ObjectText(const CSceneObject& object)
{
    const std::string name = object.GetName();
    return name.empty() ? QStringLiteral("[---]") : TextFromCodePage(name);
}

void CItemTreeItem::NoteShown() const
{
    shownText_ = DisplayText();
    shownIcon_ = GetIcon();
}

bool CItemTreeItem::ShowsStale() const
{
    return shownIcon_ != GetIcon() || shownText_ != DisplayText();
}

QVariant CItemTreeItem::data(int column, int role) const
{
    if (column == 0 && role == Qt::DisplayRole)
        return DisplayText();
    if (column == 0 && role == Qt::DecorationRole) {
        if (const auto* tree = dynamic_cast<const CItemTreeView*>(treeWidget()))
            return tree->Icon(GetIcon());
        return {};
    }
    return QTreeWidgetItem::data(column, role);
}

}  // namespace ui
