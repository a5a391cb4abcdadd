#pragma once
// What the status bar says after a save that changed objects the user did not edit:
// a kind the writer has no layout for is written as the one it falls back to, a
// chunk the writer does not keep is dropped. The save is not stopped and nothing
// asks; the message says how many objects and that the changes panel lists them.
//
// The count compares the game's "scene2.bin" with what the save wrote
// (CMissionChanges). The game file, and what a save of it unedited makes of it, are
// read once per mission and kept until that file changes on disk, so a save after
// the first costs only the mission written to memory, read back and compared.

#include <QString>

#include <cstddef>
#include <map>
#include <memory>
#include <string>

class CMission;
class CMissionChanges;

namespace ui {

class CChangesBySaveNotice {
public:
    CChangesBySaveNotice();
    ~CChangesBySaveNotice();

    // The message after `mission` was saved; empty when the save changed nothing by
    // itself, and when the game file cannot be read any more (the save itself
    // succeeded, and the comparison has nothing sure to say).
    QString AfterSave(const CMission& mission);

private:
    // One comparison per mission folder, each holding its game file.
    std::map<std::string, std::unique_ptr<CMissionChanges>> changes_;
};

// "Сохранение само изменило 3 объекта; список — в панели «Изменения» (меню «Вид»)."
// for `count` objects, the noun in the number's form.
QString ChangesBySaveMessage(std::size_t count);

}  // namespace ui
