#pragma once
// Command ids of the main window's menus, toolbar and accelerators, and the ids of
// its bars. The values are the resource ids the game's editor has always used.

namespace ui {

enum CommandId : int {
    ID_VIEW_EDIT_BAR = 101,
    ID_SAVE_MISSION = 32771,
    ID_WINDOW_WORLD = 32772,      // "Вид Мира": brings the world window back after it was closed
    ID_VIEW_OBJECT_INFO = 32790,  // "Инфа Объекта": the info window for the tree's object
    ID_VIEW_FRAME_SELECTION = 32791,  // "Показать выделенное" (F) in the world window
    ID_VIEW_FRAME_ALL = 32792,        // "Показать всё" (Shift+F): the whole mission in the world window
    ID_VIEW_CHANGES = 32796,          // "Изменения": the object bar's tab of what a save would change
    ID_EDIT_DUPLICATE = 32810,        // "Дублировать" (Ctrl+D): a copy of the selected object
    ID_VIEW_RESET_LAYOUT = 32811,     // "Сбросить раскладку": the window and bars as a new window has them
    ID_EDIT_FIND_IN_MISSIONS = 32812,  // "Найти во всех миссиях…" (Ctrl+Shift+F): the search bar
    ID_FILE_NEW = 57600,
    ID_FILE_CLOSE = 57602,
    ID_FILE_SAVE = 57603,  // "Сохранить": the mission of the selection or of the world window
    ID_FILE_PRINT = 57607,
    ID_EDIT_CLEAR = 57632,  // "Удалить" (Del): the selected object leaves its mission
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    ID_WINDOW_ARRANGE = 57649,
    ID_WINDOW_CASCADE = 57650,
    ID_WINDOW_TILE_HORZ = 57651,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_HELP_INDEX = 57667,
    ID_CONTEXT_HELP = 57669,
    ID_HELP = 57670,
    ID_DEFAULT_HELP = 57671,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_VIEW_OBJECT_BAR = 60001,
};

// Child window and bar ids.
enum BarId : int {
    IDD_EDIT_BAR = 135,
    ID_TAB_CONTROL = 60000,
    ID_OBJECT_BAR = 60001,
};

}  // namespace ui
