#include "app/CVerdaxApp.h"

#include "app/CAboutDlg.h"
#include "app/CLayoutMemory.h"
#include "app/CMainFrame.h"
#include "core/Version.h"
#include "game/CDravoDon.h"
#include "game/CDravoRoot.h"
#include "ui/CItemTreeView.h"
#include "ui/CommandIds.h"
#include "ui/StringTableText.h"
#include "view3d/CGlFrame.h"
#include "view3d/GlSetup.h"

#include "platform/CodePage.h"
#include "platform/MessagePresenter.h"
#include "platform/WaitCursor.h"

#include <QAction>
#include <QIcon>

#include <clocale>

namespace {

QString AppId()
{
    return QString::fromUtf8(kVerdaxAppId.data(), qsizetype(kVerdaxAppId.size()));
}

}  // namespace

// The world window's GL set-up must precede the application object.
CVerdaxApp::CVerdaxApp(int& argc, char** argv) : QApplication(view3d::PrepareOpenGl(argc), argv)
{
    setApplicationName(QStringLiteral("Verdax"));
    setApplicationVersion(QString::fromUtf8(kVerdaxVersion.data(), qsizetype(kVerdaxVersion.size())));
    // The desktop matches the windows to the installed entry (and its icon) by this.
    setDesktopFileName(AppId());
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
    // Taken once for the run: every text shown or typed is converted with it.
    platform::TakeAnsiCodePage();

    mainFrame_ = std::make_unique<CMainFrame>();
    if (!mainFrame_->Create())
        return false;
    presenter_.SetParent(mainFrame_.get());
    // The installed icon where the desktop's icon theme has it, else the drawn one.
    mainFrame_->setWindowIcon(QIcon::fromTheme(AppId(), mainFrame_->windowIcon()));
    view3d::InstallTextureContext();
    layout_ = std::make_unique<CLayoutMemory>(*mainFrame_);
    mainFrame_->SetViewFactory(DON_VIEW_WORLD, [this](CVerdaxData*) { return layout_->NewWorldFrame(); });
    connect(mainFrame_->Action(ui::ID_APP_ABOUT), &QAction::triggered, this, [this] { OnAppAbout(); });

    // Where the window and its bars were when the editor last closed, else where a
    // new window goes.
    layout_->Restore();
    mainFrame_->show();
    mainFrame_->repaint();

    // The game's own failures are shown where they arise; start-up succeeds anyway.
    CDravoDon::Instance().LoadGame();
    mainFrame_->OfferRecovery();
    if (startMission_)
        OpenStartMission(*startMission_);
    return true;
}

void CVerdaxApp::OpenStartMission(const std::string& name)
{
    // Mission names are the game's folder names, in its code page.
    CMission* mission = CDravoDon::Instance().GetRoot().FindMission(platform::FromUtf8(name));
    if (mission && mainFrame_->GetItemTree()->OpenAndSelectMission(mission))
        return;
    const QString text = ui::StringTableText(IDS_ERR_NO_SUCH_MISSION).arg(QString::fromUtf8(name));
    platform::Presenter().ShowMessage(IDS_ERR_NO_SUCH_MISSION, text.toStdString());
}

int CVerdaxApp::ExitInstance(int exitCode)
{
    // A closed window has saved its layout as it closed; one still open (the
    // event loop ended otherwise) saves it now.
    if (layout_ && mainFrame_->isVisible())
        layout_->Save();
    mainFrame_.reset();
    layout_.reset();
    platform::SetPresenter(nullptr);
    platform::SetWaitCursor(nullptr);
    return exitCode;
}

void CVerdaxApp::OnAppAbout()
{
    CAboutDlg about(mainFrame_.get());
    about.exec();
}
