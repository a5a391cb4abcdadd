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
    } else if (code == DON_OBJECT_REMOVING && sender && sender->GetObject() == GetObject()) {
        SetObject(nullptr);  // the pages clear as for no selection
        ShowObjectPages(nullptr);
    }
}

void CNormalRollupControl::ShowObjectPages(CVerdaxData* object)
{
    // A change of the object shown keeps what the user typed and has not applied;
    // another object replaces it.
    const bool keepTyping = object == shownObject_;
    shownObject_ = object;
    std::array<bool, kPageCount> usable{};
    if (auto* thing = dynamic_cast<CSceneObjectThing*>(object)) {
        if (std::ranges::find(kTransformKinds, thing->GetKind()) != kTransformKinds.end()) {
            DescriptionPage()->SetText(thing->GetName(), keepTyping);
            TranslationPage()->SetValues(thing->GetTranslation(), keepTyping);
            RotationPage()->SetRotation(thing->GetRotation());
            ScalePage()->SetValues(thing->GetScale(), keepTyping);
            usable[description_] = usable[translation_] = usable[rotation_] = usable[scale_] = true;
        }
        if (HoldsScript(thing->GetLinkedDataKind())) {
            ScriptPage()->SetScript(thing->GetLinkedData()->GetScript());
            usable[script_] = true;
        }
    } else if (auto* script = dynamic_cast<CSceneObjectMissionScript*>(object)) {
        DescriptionPage()->SetText(script->GetName(), keepTyping);
        ScriptPage()->SetScript(script->GetScript());
        usable[description_] = usable[script_] = true;
    }
    // Only a page whose state changes is greyed or enabled, and only then is the
    // stack laid out again: a field keeps the focus while its page stays usable.
    for (int i = 0; i < PageCount(); ++i) {
        if (PageAt(i)->enabled != usable[static_cast<std::size_t>(i)])
            SetPageEnabled(i, usable[static_cast<std::size_t>(i)]);
    }
}

}  // namespace ui
