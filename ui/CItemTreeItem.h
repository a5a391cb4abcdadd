#pragma once
// One item of the mission tree (CItemTreeView): a mission, a category node under
// an opened mission, or an object of the mission's lists. Its text and a mission's
// icon are asked of its object each time the item is drawn, so a renamed object
// shows its new name at the next repaint; a mission that the edit history counts
// as modified shows " *" after its name.

#include <QString>
#include <QTreeWidgetItem>

class CSceneObject;
class CSceneObjectThing;
class CVerdaxData;

namespace ui {

// The category nodes under an opened mission, by their codes (all below 4096).
enum ItemCategory : int {
    CATEGORY_THING_DATA = 256,
    CATEGORY_THINGS = 257,
    CATEGORY_SCRIPTS = 258,
    CATEGORY_WHOLE = 259,
};

// The item's data word is either an object or a category code.
class CItemTreeItem final : public QTreeWidgetItem {
public:
    static constexpr int kType = QTreeWidgetItem::UserType + 1;

    CItemTreeItem(CVerdaxData* object, int icon);
    CItemTreeItem(int category, const QString& caption);

    CVerdaxData* GetObject() const { return object_; }
    // The category code; 0 for an object item.
    int GetCategory() const { return category_; }
    int GetIcon() const;

    // The icon of a thing whose linked data block has `kind` (-1: none linked).
    static int ThingIcon(int linkedDataKind);

    // The icon strip's image comes from the tree that holds the item.
    QVariant data(int column, int role) const override;

    // The text shown for the item, asked of its object now.
    QString DisplayText() const;
    // The text of an object item: its name, or what stands for an empty one.
    static QString ObjectText(const CSceneObjectThing& thing);
    static QString ObjectText(const CSceneObject& object);

    // Notes the text and icon as the row shows them now; whether they are no longer
    // what it shows (or it was never drawn).
    void NoteShown() const;
    bool ShowsStale() const;

private:
    CVerdaxData* object_ = nullptr;
    int category_ = 0;
    int icon_ = 0;  // object items other than things: fixed at creation
    QString caption_;
    mutable QString shownText_;
    mutable int shownIcon_ = -1;  // never drawn
};

}  // namespace ui
