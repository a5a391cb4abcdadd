#pragma once
// Reading a recovery copy back into objects. The copy is untrusted input like any
// scene file: it is checked against its description (length and hash) and then
// read by the scene file reader, whose checks refuse a malformed file. A refused
// copy changes nothing: neither the mission nor the store.
//
// The objects come in a mission of their own (same name, same game, not read from
// the game's folder, without a world model): its things, thing data and mission
// scripts, the thing data linked to their things and the things' models loaded, as
// a load makes them. Taking them as the loaded mission's state, in one undo step
// that gives the game file's state back, is the editor's next step.

#include <memory>
#include <string>

class CDravoRoot;
class CMission;
class CRecoveryStore;
struct RecoveryEntry;

struct RecoveredMission {
    std::unique_ptr<CMission> objects;  // null when refused
    std::string failure;                // why (UTF-8), when refused; the store may move the entry aside with it
};

// The state `entry` holds for `mission`, a mission of `root` loaded from the game's
// folder. Refused when the entry is not one of that mission or the mission is not
// loaded, when the copy does not match its description, or when the scene file
// reader refuses it. The reader's message texts are gathered into the failure
// rather than shown.
RecoveredMission ReadRecoveredMission(const CRecoveryStore& store, const RecoveryEntry& entry, const CMission& mission,
                                      CDravoRoot& root);
