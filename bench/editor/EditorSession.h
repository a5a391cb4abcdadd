#pragma once
// The editor as a user starts it, on the benchmark's game: the application object's
// start-up with the Wine prefix pointed at the game (the main window, the game's
// missions in the tree, the world window), the world window filling the document
// area.

#include <QString>

#include <filesystem>
#include <memory>

class CGlView;
class CMainFrame;
class CMission;
class CVerdaxApp;
namespace ui {
class CItemTreeItem;
class CItemTreeView;
}  // namespace ui

class CEditorSession {
public:
    // `argc` and `argv` outlive the session, as the application's must.
    CEditorSession(int& argc, char** argv, const std::filesystem::path& prefix);
    ~CEditorSession();
    CEditorSession(const CEditorSession&) = delete;
    CEditorSession& operator=(const CEditorSession&) = delete;

    // What is missing, or empty when the editor came up with the mission listed and
    // the world window open.
    QString Failure() const { return failure_; }

    ui::CItemTreeView& Tree() const;
    ui::CItemTreeItem& MissionItem() const { return *missionItem_; }
    CMission& Mission() const { return *mission_; }
    CGlView& WorldView() const { return *worldView_; }

    // Handles every event waiting, paints included.
    static void Settle();

private:
    std::unique_ptr<CVerdaxApp> app_;
    CMainFrame* frame_ = nullptr;
    ui::CItemTreeItem* missionItem_ = nullptr;
    CMission* mission_ = nullptr;
    CGlView* worldView_ = nullptr;
    QString failure_;
};
