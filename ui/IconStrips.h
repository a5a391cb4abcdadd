#pragma once
// The editor's small pictures, drawn in code: the 19-image strip of the mission
// tree, the 3-image strip of the object bar's tabs, the toolbar buttons and the
// application icon. Every image is 16 x 16 on a transparent background.

#include <QIcon>
#include <QPixmap>

namespace ui {

// Indices into the tree's icon strip that carry a meaning.
enum ItemIcon : int {
    ICON_UNKNOWN_CATEGORY = 0,  // yellow question mark
    ICON_SCRIPT = 1,            // sheet of text
    ICON_THING_SCRIPTED = 3,    // hat over a sheet of text: data kind 5
    ICON_THING_DATA_BLOCK = 4,  // hat over a sheet of ones and zeros: any other data kind
    ICON_THING = 6,             // white hat: no data block
    ICON_MISSION_LISTED = 9,    // closed red book
    ICON_MISSION_LOADED = 10,   // open red book with pages
    ICON_WHOLE = 11,            // grey building with a sheet
    ICON_THING_DATA = 13,       // sheet of ones and zeros
    ICON_THING_FIGURE = 14,     // small figure with a sheet: data kind 27
};

inline constexpr int kIconSize = 16;
inline constexpr int kItemIconCount = 19;
inline constexpr int kTabIconCount = 3;

// The tree's strip: kItemIconCount images side by side.
QPixmap ItemIconStrip();

// The tab bar's strip: a row of books first.
QPixmap TabIconStrip();

// Image `index` cut from `strip`; an empty icon for an index outside it.
QIcon IconFromStrip(const QPixmap& strip, int index);

// The toolbar picture for a command id of the toolbar; an empty icon for others.
QIcon ToolbarIcon(int commandId);

// The main window's icon.
QIcon ApplicationIcon();

}  // namespace ui
