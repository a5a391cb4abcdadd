#pragma once
// Where the main window opens: numbers only, so that the rules are tested without
// a screen. Rectangles are in the desktop's coordinates; screens are given by
// their available areas (without panels and docks).

#include <QList>
#include <QRect>

// A new window: three quarters of `available` each way, in its middle.
QRect DefaultWindowPlace(const QRect& available);

// True when the window's top band (where its title bar is) shows on a screen
// enough to grab it: at least 64 pixels wide (or the whole width of a narrower
// window) and 8 pixels high.
bool LiesOnAScreen(const QRect& window, const QList<QRect>& screens);

// The place to open a window that was at `saved` when it last closed: that place
// when it lies on a screen; else the saved size, cut to `primary`, in the middle of
// `primary`. A saved rectangle that is empty or too small to be a window gives the
// new window's place.
QRect PlaceSavedWindow(const QRect& saved, const QList<QRect>& screens, const QRect& primary);
