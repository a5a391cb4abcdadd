#pragma once
// The main window's status bar, pane by pane: the message pane first (menu prompts
// and the views' status messages), then the world window's fly speed, then the
// indicators "CAP", "NUM" and "SCRL". While a menu is open the message pane spans
// the bar, as the first pane of a status bar always has: a popup's initialisation
// widens it when a menu selection allowed that, a closing menu gives the pane its
// former width back.
//
// A new pane goes into the constructor, in its place in that order.

#include <QString>

#include <array>

class QLabel;
class QStatusBar;

namespace ui {

class CStatusPanes {
public:
    // Fills `bar` (not owned) with the panes.
    explicit CStatusPanes(QStatusBar* bar);

    QLabel* MessagePane() const { return messagePane_; }
    QLabel* SpeedPane() const { return speedPane_; }
    const std::array<QLabel*, 3>& IndicatorPanes() const { return indicators_; }

    // The message pane's text: a menu item's prompt, or a view's message.
    void ShowMessage(const QString& text);
    // The speed pane's text ("Скорость: 1"); empty while no world window shows one.
    void ShowSpeed(const QString& text);

    void OnInitMenuPopup();
    void OnMenuSelect(bool menuClosing);
    bool IsFirstPaneWidened() const { return savedPaneWidth_ != -1; }

private:
    void CreateSpeedPane(QStatusBar* bar);
    void CreateIndicators(QStatusBar* bar);

    QLabel* messagePane_ = nullptr;
    QLabel* speedPane_ = nullptr;
    std::array<QLabel*, 3> indicators_{};
    int savedPaneWidth_ = -1;  // the first pane's width before a menu widened it; -1: none
    bool widenFlag_ = false;   // a menu selection allows the next popup to widen the pane
};

}  // namespace ui
