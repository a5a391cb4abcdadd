#pragma once
// Finds a pattern in the texts of one mission's objects, in the order the matches
// are given: the things, then the thing data, then the mission scripts, each list
// in its order; within an object its name, model, sector and script. A thing's
// model and sector are searched on the thing; a script on the object that holds it
// (a thing data or a mission script), never again on the thing linked to a thing
// data. A script is searched line by line, each matching line a match of its own;
// a line ends at CR LF, LF or a lone CR, and what follows the last line end is a
// line only when it is not empty.

#include "game/SearchMatch.h"

#include <atomic>
#include <vector>

class CTextMatcher;
class ISceneFileOwner;

// Appends the matches of `objects` to `matches`. Returns false, part way, once `stop`
// (when given) is set; true when every object was searched.
bool SearchObjects(const ISceneFileOwner& objects, const CTextMatcher& matcher, const SearchFields& fields,
                   std::vector<SearchMatch>& matches, const std::atomic<bool>* stop = nullptr);
