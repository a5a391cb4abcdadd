#pragma once
// The commands that make objects come and go, on the object selected in the tree
// or picked in the world window: "Дублировать" and "Удалить", and "Вырезать",
// "Копировать" and "Вставить" when no text field takes them (CEditCommands asks
// here first whether the focus keeps them).
//
// The clipboard is the system's (QClipboard): the objects' bytes under
// CObjectsPayload::kMimeType, which carry the code page they were written in, and
// their names as plain text, so that another running editor pastes them and a text
// editor shows what was copied. A paste goes into the mission of the selection or,
// with nothing selected, the one the world window shows, at the end of the
// matching lists; the pasted object is selected, its category expanded. Bytes
// that cannot be taken are refused with a message and change nothing.
//
// Each command that changes a mission is one step of that mission's history
// (game/ObjectOperations.h); the main window runs it after the editors' pending
// text has gone in.

#include <QString>

#include <functional>

class CMission;
class CSceneObject;
class CVerdaxData;
class QMimeData;

namespace ui {

class CObjectCommands {
public:
    // What the commands act on, as the main window finds it.
    struct Context {
        // The object selected in the tree or picked in the world window; null when
        // none is a thing, thing data or mission script.
        std::function<CSceneObject*()> selectedObject;
        // The mission pasted into (loaded); null when there is none.
        std::function<CMission*()> pasteMission;
        // Makes `object` the selection, opening its category.
        std::function<void(CVerdaxData*)> select;
        // The mission that holds an object; empty: the game root's.
        std::function<CMission*(const CSceneObject&)> missionOf = {};
    };

    explicit CObjectCommands(Context context);

    bool CanDuplicate() const;
    bool CanDelete() const { return CanDuplicate(); }
    bool CanCopy() const { return CanDuplicate(); }
    bool CanCut() const { return CanDuplicate(); }
    // Whether the clipboard holds objects and there is a mission to paste into.
    bool CanPaste() const;

    void Duplicate();
    void Delete();
    void Copy();
    void Cut();
    void Paste();

    // The clipboard's content for the bytes of copied objects and their names.
    static QMimeData* MimeDataOf(const std::string& payload, const QString& names);

private:
    // The selected object and the mission that holds it; false when there is none.
    bool Selection(CSceneObject*& object, CMission*& mission) const;

    Context context_;
};

}  // namespace ui
