#include "ui/CNormalRollupControl.h"

#include "game/CDravoDon.h"
#include "scene/CSceneObjectMissionScript.h"
#include "scene/CSceneObjectThing.h"
#include "scene/CSceneObjectThingData.h"
#include "ui/CRollupEditDescription.h"
#include "ui/CRollupEditRotation.h"
#include "ui/CRollupEditScale.h"
#include "ui/CRollupEditScript.h"
#include "ui/CRollupEditTranslation.h"

#include <algorithm>
#include <array>
#include <vector>

namespace ui {

namespace {

// The kinds of thing whose transform the pages show and edit.
constexpr std::array<std::int32_t, 11> kTransformKinds{2, 3, 4, 6, 9, 12, 14, 4096, 4097, 4098, 4099};

// The kinds of thing data that hold a script.
bool HoldsScript(std::int32_t dataKind)
{
    return dataKind == 5 || dataKind == 27;
}

}  // namespace

CNormalRollupControl::CNormalRollupControl(QWidget* parent) : CRollupCtrl(parent)
{
    setObjectName(QString::number(kControlId));
    description_ = AddPage(QStringLiteral("Description"), std::make_unique<CRollupEditDescription>());
    translation_ = AddPage(QStringLiteral("Translation"), std::make_unique<CRollupEditTranslation>());
    rotation_ = AddPage(QStringLiteral("Rotation"), std::make_unique<CRollupEditRotation>());
    scale_ = AddPage(QStringLiteral("Scale"), std::make_unique<CRollupEditScale>());
    script_ = AddPage(QStringLiteral("Script"), std::make_unique<CRollupEditScript>());
    SetAllEnabled(false);
    CDravoDon::Instance().RegisterView(this);
}

// Leaving the mediator is CDravoDonView's: it forgets the view as it dies.
CNormalRollupControl::~CNormalRollupControl() = default;

template <class Page>
Page* CNormalRollupControl::PageOf(int index) const
{
    const RC_PAGEINFO* info = PageAt(index);
    return info ? static_cast<Page*>(info->page) : nullptr;
}

CRollupEditDescription* CNormalRollupControl::DescriptionPage() const
{
    return PageOf<CRollupEditDescription>(description_);
}

CRollupEditTranslation* CNormalRollupControl::TranslationPage() const
{
    return PageOf<CRollupEditTranslation>(translation_);
}

CRollupEditRotation* CNormalRollupControl::RotationPage() const
{
    return PageOf<CRollupEditRotation>(rotation_);
}

CRollupEditScale* CNormalRollupControl::ScalePage() const
{
    return PageOf<CRollupEditScale>(scale_);
}

CRollupEditScript* CNormalRollupControl::ScriptPage() const
{
    return PageOf<CRollupEditScript>(script_);
}

void CNormalRollupControl::Notify(CDravoDonView* sender, int code, int)
{
    if (code == DON_OBJECT_SELECTED) {
        SetObject(sender ? sender->GetObject() : nullptr);
        ShowObjectPages(GetObject());
    } else if (code == DON_OBJECT_CHANGED) {
        ShowObjectPages(GetObject());
    }
}

void CNormalRollupControl::ShowObjectPages(CVerdaxData* object)
{
    // A drag announces a change on every mouse move: the roll-up is laid out again
    // (and a page's focused field greyed) only when other pages become usable.
    const std::vector<int> usable = UsablePages(object);
    bool same = true;
    for (int i = 0; i < PageCount(); ++i)
        same = same && PageAt(i)->enabled == (std::ranges::find(usable, i) != usable.end());
    if (!same) {
        SetAllEnabled(false);
        for (const int page : usable)
            SetPageEnabled(page, true);
    }
    FillPages(object);
}

std::vector<int> CNormalRollupControl::UsablePages(const CVerdaxData* object) const
{
    std::vector<int> pages;
    if (const auto* thing = dynamic_cast<const CSceneObjectThing*>(object)) {
        if (std::ranges::find(kTransformKinds, thing->GetKind()) != kTransformKinds.end())
            pages = {description_, translation_, rotation_, scale_};
        if (HoldsScript(thing->GetLinkedDataKind()))
            pages.push_back(script_);
    } else if (dynamic_cast<const CSceneObjectMissionScript*>(object)) {
        pages = {description_, script_};
    }
    return pages;
}

void CNormalRollupControl::FillPages(CVerdaxData* object)
{
    if (auto* thing = dynamic_cast<CSceneObjectThing*>(object)) {
        if (std::ranges::find(kTransformKinds, thing->GetKind()) != kTransformKinds.end()) {
            DescriptionPage()->SetText(thing->GetName());
            TranslationPage()->SetValues(thing->GetTranslation());
            RotationPage()->SetRotation(thing->GetRotation());
            ScalePage()->SetValues(thing->GetScale());
        }
        if (HoldsScript(thing->GetLinkedDataKind()))
            ScriptPage()->SetScript(thing->GetLinkedData()->GetScript());
    } else if (auto* script = dynamic_cast<CSceneObjectMissionScript*>(object)) {
        DescriptionPage()->SetText(script->GetName());
        ScriptPage()->SetScript(script->GetScript());
    }
}

}  // namespace ui
