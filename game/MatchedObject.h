#pragma once
// The object a search match names, looked up again in a mission's objects when the
// user goes to it. A match keeps its object's list, place and name, never a pointer:
// the mission may have been edited since it was searched (objects added, removed or
// renamed), so the place is trusted only while the name there is still the same.

#include "game/SearchMatch.h"

class CSceneObject;
class ISceneFileOwner;

// The object at the match's place in its list when it still bears the match's name;
// otherwise the first object of that list with that name; null when there is none.
CSceneObject* FindMatchedObject(const ISceneFileOwner& objects, const SearchMatch& match);
