#pragma once
// An object-level comparison of two scene files: which objects of the three lists
// were added, removed or changed, and how, and what changed in the header and the
// sections outside the lists.
//
// Objects are matched within each list: first by name, the k-th object of a name
// before with the k-th of that name after (unnamed objects, whose name is empty, by
// their order among the unnamed); then an object left unmatched before with the one
// left unmatched after at the same index, if there is one, so that a rename in
// place is a change of its name. What is still unmatched was removed (before) or
// added (after). A matched object whose fields differ is changed.
//
// A change is "by save" when the save makes it on its own: every field of it
// changes the same way between the file before and a read-then-write of that file
// (a kind the writer does not know, a chunk it drops). Any other change is an edit,
// with all its fields.

#include "scene/CSceneSnapshot.h"
#include "scene/SceneValue.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The fields compared, in the order a change lists them. Texts (name, model, sector,
// script) are code page bytes; kind a number; translation, rotation and scale
// floats, equal only bit for bit; data (CSceneSnapshot.h) is told only as differing,
// so its value before is false and after true.
enum class SceneField : std::uint8_t { kName, kKind, kTranslation, kRotation, kScale, kModel, kSector, kScript, kData };

enum class SceneChangeKind : std::uint8_t { kAdded, kRemoved, kChanged };

struct SceneFieldChange {
    SceneField field = SceneField::kName;
    SceneValue before;
    SceneValue after;
};

struct SceneChange {
    SceneList list = SceneList::kThings;
    // The object's name after (before, for a removed object), in code page bytes.
    std::string object;
    std::optional<std::size_t> beforeIndex;  // none for an added object
    std::optional<std::size_t> afterIndex;   // none for a removed object
    SceneChangeKind change = SceneChangeKind::kChanged;
    std::vector<SceneFieldChange> fields;    // empty for an added or removed object
    bool bySave = false;
};

// A header field ("text", "word1", "word2") or a section outside the lists
// ("section_AFFF", ...: false before and true after when the content differs or one
// file has the section and the other not).
struct SceneHeaderChange {
    std::string field;
    SceneValue before;
    SceneValue after;
};

struct SceneComparison {
    // By list (things, thing data, mission scripts), then by index: an added or
    // changed object's index after, a removed object's index before, and a removed
    // object before any other change at the same index.
    std::vector<SceneChange> changes;
    std::vector<SceneHeaderChange> header;
};

// `resavedBefore` is `before` read and written again (CSceneSnapshot::Write), read:
// what a save makes of the file before when nothing is edited.
SceneComparison CompareScenes(const CSceneSnapshot& before, const CSceneSnapshot& resavedBefore,
                              const CSceneSnapshot& after);

// The objects a save changed on its own: the changes by save.
std::size_t CountChangesBySave(const SceneComparison& comparison);

// The names of the JSON output: "things", "thing_data", "mission_scripts"; "name",
// "kind", ..., "data"; "added", "removed", "changed".
std::string_view SceneListName(SceneList list);
std::string_view SceneFieldName(SceneField field);
std::string_view SceneChangeKindName(SceneChangeKind change);
