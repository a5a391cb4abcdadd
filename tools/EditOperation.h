#pragma once
// One operation of `verdax-tool edit`, given as a JSON object, applied to a loaded
// mission through the editor's edit path (CDravoDon::ApplyEdit and the object
// operations of game/ObjectOperations.h):
//
//   {"op": "set", "object": O, ["list": L,] any of "name", "translation",
//                  "rotation", "scale", "script"}
//   {"op": "duplicate", "object": O, ["list": L,] ["as": NAME]}
//   {"op": "delete", "object": O, ["list": L]}
//
// L is "things" (the default), "thing_data" or "mission_scripts"; O is a name (the
// first object of that name in the list) or an index counting from 0. Texts are
// UTF-8 and go into the game's code page.

#include <nlohmann/json.hpp>

#include <stdexcept>
#include <string>

class CDravoDon;
class CMission;

namespace tool {

// What is wrong with an operation: an unknown op or field, a value of the wrong
// type or out of range, an object that is not there, a name that is taken, a text
// the code page cannot hold, a field the object does not have. Nothing of the
// operation has been applied.
class EditOperationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Checks `operation` whole, then applies it; throws EditOperationError.
void ApplyEditOperation(CDravoDon& don, CMission& mission, const nlohmann::json& operation);

}  // namespace tool
