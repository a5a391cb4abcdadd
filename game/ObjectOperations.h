#pragma once
// The commands by which objects come and go: duplicate, delete, cut, copy and
// paste, on things, thing data and mission scripts. Each change of a mission is one
// CStructureEdit applied through the mediator (CDravoDon::ApplyStructureEdit): the
// views are told of every object added or about to go, and the edit history gets
// one step that undo reverts exactly.
//
// A thing and the thing data linked to it go together: duplicating, deleting,
// copying or cutting a thing does the same to its linked thing data. Deleting a
// thing data alone unlinks it from its thing.
//
// Copies are made from the objects' written bytes read back (CObjectsPayload), and
// named by CCopyNaming: the linked thing data of a copied thing gets the thing's
// name. A copied thing's model is loaded as it goes into the mission.
//
// Every `object` must belong to `mission`, and a mission pasted into must be loaded
// (std::invalid_argument otherwise).

#include <string>
#include <string_view>
#include <vector>

class CDravoDon;
class CMission;
class CSceneObject;

// `object` and what goes with it: a thing with its linked thing data (the thing
// first), any other object alone.
std::vector<CSceneObject*> ObjectWithCompanions(CSceneObject& object);

// The clipboard's bytes of `object` and what goes with it, in the game's code page
// (CObjectsPayload::kMimeType).
std::string CopyObject(CSceneObject& object);
// The clipboard's plain text of `object`: its name in UTF-8.
std::string CopyObjectText(const CSceneObject& object);

// "Дублировать": a copy right after the original in its list (a thing's copied
// thing data right after that data), named by the naming rule, or `name` when
// given (the caller has checked that it is free: IsCopyNameFree). Returns the copy
// (of the thing, for a thing).
CSceneObject& DuplicateObject(CDravoDon& don, CMission& mission, CSceneObject& object,
                              const std::string* name = nullptr);

// Whether a copy of `object` may be named `name` in `mission`.
bool IsCopyNameFree(const CMission& mission, CSceneObject& object, std::string_view name);

// "Удалить": takes the object and what goes with it out of the mission.
void DeleteObject(CDravoDon& don, CMission& mission, CSceneObject& object);

// "Вырезать": the bytes CopyObject gives, taken before the objects go as a delete
// does, in one step.
std::string CutObject(CDravoDon& don, CMission& mission, CSceneObject& object);

// "Вставить": the objects of `payload` appended to their lists in `mission`, named
// by the naming rule; a thing data that comes alone is linked to the first thing
// of its name when that thing has none, as loading would link it. Returns the
// objects pasted, without the thing data that came with their things: things,
// then thing data, then mission scripts. Throws CPayloadRefused, with the mission
// unchanged, when the payload is malformed or holds a character the game's code
// page cannot hold. An empty payload changes nothing and records no step.
std::vector<CSceneObject*> PasteObjects(CDravoDon& don, CMission& mission, std::string_view payload);
