#pragma once
// The rows of the changes panel: a mission's comparison with its game file
// (CMissionChanges, scene/SceneComparison.h) told one row per object for the user,
// in UTF-8. A row says which object (as the mission tree names it), in which list,
// and what changed: "добавлен", "удалён", or each field before → after
// ("позиция: [0, 0, 0] → [1, 0, 0]"; a script or the data only as "изменён"). The
// edits come first, in the comparison's order, then what the save changes on its
// own, the header of the file last among those.

#include "scene/SceneComparison.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class CMission;
class CSceneObject;

enum class ChangeRowGroup : std::uint8_t { kEdit, kSave };

struct ChangeRow {
    ChangeRowGroup group = ChangeRowGroup::kEdit;
    std::optional<SceneList> list;           // none for the file's header
    SceneChangeKind change = SceneChangeKind::kChanged;
    std::optional<std::size_t> index;        // in the mission's list now; none when removed
    std::optional<std::size_t> beforeIndex;  // in the game file's list; none when added
    std::string objectName;                  // code page bytes, as the comparison names it
    std::string objectText;                  // UTF-8, as the mission tree shows the object
    std::string listText;                    // UTF-8: "Вещи", "Дата Вещей", "Системные скрипты", "Заголовок"
    std::string changeText;                  // UTF-8

    // Whether `other` names the same object with the same kind of change (its
    // fields may differ): a row kept selected across refreshes.
    bool SameObject(const ChangeRow& other) const;
};

// The rows of `comparison`, a comparison of `mission` (made now: the indices after
// are its lists' indices).
std::vector<ChangeRow> MakeChangeRows(const SceneComparison& comparison, const CMission& mission);

// The object `row` names, as `mission` holds it now; null for a removed object, the
// header, and when the object at the row's index no longer has the row's name (the
// lists changed since the row was made).
CSceneObject* ChangeRowObject(const ChangeRow& row, const CMission& mission);
