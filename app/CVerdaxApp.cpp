#include "app/CVerdaxApp.h"

#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "game/CDravoDon.h"
#include "ui/CommandIds.h"
#include "view3d/CGlFrame.h"
#include "view3d/GlSetup.h"

#include "platform/CodePage.h"
#include "platform/MessagePresenter.h"
#include "platform/WaitCursor.h"

#include <QAction>
#include <QScreen>

#include <clocale>

// The world window's GL set-up must precede the application object.
CVerdaxApp::CVerdaxApp(int& argc, char** argv) : QApplication(view3d::PrepareOpenGl(argc), argv)
{
    setApplicationName(QStringLiteral("Verdax"));
}

CVerdaxApp::~CVerdaxApp()
{
    platform::SetPresenter(nullptr);
    platform::SetWaitCursor(nullptr);
}

bool CVerdaxApp::InitInstance()
{
    // Numbers in the editor's fields follow the user's conventions.
    std::setlocale(LC_ALL, "");

    platform::SetPresenter(&presenter_);
    platform::SetWaitCursor(&busyCursor_);

    // Every text of the game is read in the code page; a wrong choice of it is
    // refused before anything is read.
    if (const std::string error = platform::CodePageSettingError(); !error.empty()) {
        presenter_.ShowMessage(0, error);
        return false;
    }

    mainFrame_ = std::make_unique<CMainFrame>();
    if (!mainFrame_->Create())
        return false;
    presenter_.SetParent(mainFrame_.get());
    view3d::InstallTextureContext();
    mainFrame_->SetViewFactory(DON_VIEW_WORLD, [](CVerdaxData*) { return new CGlFrame; });
    connect(mainFrame_->Action(ui::ID_APP_ABOUT), &QAction::triggered, this, [this] { OnAppAbout(); });

    // A new window takes three quarters of the screen, as new windows always have.
    if (const QScreen* screen = primaryScreen()) {
        const QRect available = screen->availableGeometry();
        mainFrame_->resize(available.size() * 3 / 4);
        mainFrame_->move(available.topLeft() + QPoint(available.width() / 8, available.height() / 8));
    }
    mainFrame_->show();
    mainFrame_->repaint();

    // The game's own failures are shown where they arise; start-up succeeds anyway.
    CDravoDon::Instance().LoadGame();
    mainFrame_->OfferRecovery();
    return true;
}

int CVerdaxApp::ExitInstance(int exitCode)
{
    mainFrame_.reset();
    platform::SetPresenter(nullptr);
    platform::SetWaitCursor(nullptr);
    return exitCode;
}

void CVerdaxApp::OnAppAbout()
{
    CAboutDlg about(mainFrame_.get());
    about.exec();
}
