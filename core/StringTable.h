#pragma once
// The program's string table: every message, caption and prompt it shows, by
// resource id, as UTF-8. The user interface converts at its boundary.

#include <string_view>

enum StringId : int {
    IDR_MAINFRAME = 128,            // the main window's title
    IDR_CHILDFRAME = 129,           // the child windows' document string
    IDS_MISSIONS_TAB = 130,         // the object bar's one tab
    IDS_INFO_TITLE = 133,           // the object info window
    IDS_WORLD_TITLE = 134,          // the world window
    IDS_CHANGES_TAB = 136,          // the object bar's tab of what a save changes
    IDS_CATEGORY_THING_DATA = 501,
    IDS_CATEGORY_THINGS = 502,
    IDS_CATEGORY_SCRIPTS = 503,
    IDS_CATEGORY_WHOLE = 504,
    IDS_ERR_FOREIGN = 1000,
    IDS_ERR_MISSION_LOAD = 1001,
    IDS_ERR_NO_MISSION_SELECTED = 1002,
    IDS_ERR_REGISTRY = 1003,
    IDS_ERR_NO_SUCH_MISSION = 1004,  // the mission named at start-up is not in the game; %1: its name
    IDS_PROMPT_EDIT_BAR = 101,
    IDS_PROMPT_SAVE_MISSION = 32771,
    IDS_PROMPT_OBJECT_INFO = 32790,
    IDS_PROMPT_FRAME_SELECTION = 32791,
    IDS_PROMPT_FRAME_ALL = 32792,
    IDS_PROMPT_VIEW_CHANGES = 32796,
    IDS_PROMPT_EDIT_DUPLICATE = 32810,
    IDS_PROMPT_RESET_LAYOUT = 32811,
    IDS_PROMPT_FIND_IN_MISSIONS = 32812,
    IDS_APP_TITLE = 57344,
    // The prompts of the toolbar's buttons, under their commands' ids.
    IDS_PROMPT_FILE_NEW = 57600,
    IDS_PROMPT_FILE_SAVE = 57603,
    IDS_PROMPT_FILE_PRINT = 57607,
    IDS_PROMPT_EDIT_CLEAR = 57632,
    IDS_PROMPT_EDIT_COPY = 57634,
    IDS_PROMPT_EDIT_CUT = 57635,
    IDS_PROMPT_EDIT_PASTE = 57637,
    IDS_PROMPT_EDIT_UNDO = 57643,
    IDS_PROMPT_EDIT_REDO = 57644,
    IDS_PROMPT_APP_ABOUT = 57664,
    IDS_PROMPT_CONTEXT_HELP = 57669,
    IDS_INDICATOR_CAPS = 59137,
    IDS_INDICATOR_NUM = 59138,
    IDS_INDICATOR_SCRL = 59139,
    IDS_PROMPT_OBJECT_BAR = 60000,
    IDS_ERR_NOT_A_NUMBER = 61704,   // a field that does not hold a number
};

// The text of `id`; empty for an id the table does not hold.
std::string_view LoadString(int id);
