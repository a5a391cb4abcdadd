#pragma once
// The application object: sets the program up in the order the editor has always
// started (locale, the user-interface services, the main window, then the game),
// and answers the about command. The window's layout is restored before it shows
// and saved when the program ends (CLayoutMemory).

#include "ui/CBusyCursor.h"
#include "ui/CMessageBoxPresenter.h"

#include <QApplication>

#include <memory>
#include <optional>
#include <string>

class CLayoutMemory;
class CMainFrame;

class CVerdaxApp : public QApplication {
public:
    CVerdaxApp(int& argc, char** argv);
    ~CVerdaxApp() override;

    // The mission (its name, UTF-8) that start-up opens and selects once the game is
    // loaded and the world window is open.
    void SetStartMission(std::string name) { startMission_ = std::move(name); }

    // Start-up; false when the main window cannot be built (the program then ends).
    bool InitInstance();

    // Undoes what InitInstance installed; returns the program's exit code.
    int ExitInstance(int exitCode);

    CMainFrame* GetMainFrame() const { return mainFrame_.get(); }

    void OnAppAbout();

private:
    // A name that no mission of the game has is reported with a message of its own.
    void OpenStartMission(const std::string& name);

    ui::CMessageBoxPresenter presenter_;
    ui::CBusyCursor busyCursor_;
    // Declared before the window, so that it outlives the world windows it watches.
    std::unique_ptr<CLayoutMemory> layout_;
    std::unique_ptr<CMainFrame> mainFrame_;
    std::optional<std::string> startMission_;
};
