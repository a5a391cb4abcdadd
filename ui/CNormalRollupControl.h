#pragma once
// The editor's property panel in the edit bar: a roll-up with the five pages
// "Description", "Translation", "Rotation", "Scale" and "Script", showing the
// current object. Which pages are usable depends on the object's kind; the others
// are greyed, keeping their last contents and whether they are open.
//
// It takes part in the mediator's notifications: a selection from another view
// makes the sender's object its own and fills the pages; a change announced by any
// view (an edit elsewhere, undo) refills them from the object it already has. Its
// own page edits go through the edit path with the roll-up as sender, so it is not
// told of them and keeps the values as typed.

#include "game/CDravoDonView.h"
#include "ui/CRollupCtrl.h"

#include <vector>

namespace ui {

class CRollupEditDescription;
class CRollupEditRotation;
class CRollupEditScript;
class CRollupEditTranslation;
class CRollupEditScale;

class CNormalRollupControl final : public CRollupCtrl, public CDravoDonView {
public:
    // The child id the main window gives it in the edit bar.
    static constexpr int kControlId = 2;

    // Adds the five pages, greys them all and registers with the mediator.
    explicit CNormalRollupControl(QWidget* parent = nullptr);
    ~CNormalRollupControl() override;

    void Notify(CDravoDonView* sender, int code, int arg) override;

    // Greys every page, then fills and enables those that suit `object`: the four
    // transform pages for a thing of a kind that has a transform, the script page
    // for a thing whose data object holds a script (kind 5 or 27), the description
    // and script pages for a mission script; none for anything else.
    void ShowObjectPages(CVerdaxData* object);

    // The page indices, in creation order.
    int DescriptionIndex() const { return description_; }
    int TranslationIndex() const { return translation_; }
    int RotationIndex() const { return rotation_; }
    int ScaleIndex() const { return scale_; }
    int ScriptIndex() const { return script_; }

    CRollupEditDescription* DescriptionPage() const;
    CRollupEditTranslation* TranslationPage() const;
    CRollupEditRotation* RotationPage() const;
    CRollupEditScale* ScalePage() const;
    CRollupEditScript* ScriptPage() const;

private:
    template <class Page>
    Page* PageOf(int index) const;
    std::vector<int> UsablePages(const CVerdaxData* object) const;
    void FillPages(CVerdaxData* object);

    int description_ = -1;
    int translation_ = -1;
    int rotation_ = -1;
    int scale_ = -1;
    int script_ = -1;
};

}  // namespace ui
