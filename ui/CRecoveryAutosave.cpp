#include "ui/CRecoveryAutosave.h"

#include "core/CVerdaxException.h"
#include "game/CDravoDon.h"
#include "game/CMission.h"
#include "game/CRecoveryStore.h"
#include "game/CRecoveryWriter.h"
#include "platform/MessagePresenter.h"
#include "ui/CEditHistory.h"
#include "ui/CScriptView.h"

#include <QApplication>
#include <QUndoStack>

#include <algorithm>

namespace ui {

CRecoveryAutosave::CRecoveryAutosave(CEditHistory& history, CDravoDon& don, std::optional<std::filesystem::path> folder,
                                     CAutosaveSchedule schedule)
    : history_(history), don_(don), schedule_(schedule)
{
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] { OnTimer(); });
    if (!folder)
        return;
    store_ = std::make_unique<CRecoveryStore>(std::move(*folder));
    writer_ = std::make_unique<CRecoveryWriter>(*store_, [this](const CRecoveryWriter::Result& result) {
        if (result.outcome.done)
            return;
        const QString text = (result.removal ? QStringLiteral("Копия восстановления не удалена: ")
                                             : QStringLiteral("Копия восстановления не записана: ")) +
                             QString::fromStdString(result.outcome.failure);
        QMetaObject::invokeMethod(&timer_, [this, text] { Report(text); }, Qt::QueuedConnection);
    });
    history_.SetHistoryChanged([this](CMission* mission) { OnHistoryChanged(mission); });
}

// The writer carries out what is still waiting (a last removal) before it stops.
CRecoveryAutosave::~CRecoveryAutosave()
{
    if (writer_)
        history_.SetHistoryChanged(nullptr);
    writer_.reset();
}

void CRecoveryAutosave::OnHistoryChanged(CMission* mission)
{
    if (history_.IsMissionModified(*mission)) {
        if (std::ranges::find(pending_, mission) == pending_.end())
            pending_.push_back(mission);
        schedule_.NoteEdit(CAutosaveSchedule::Clock::now());
        Arm();
        return;
    }
    // What is saved is what the copy would hold: no copy is needed, nor kept.
    std::erase(pending_, mission);
    writer_->Remove(don_.GetRoot().GetInstallFolder(), mission->GetName());
    if (pending_.empty()) {
        schedule_.NoteWritten();
        timer_.stop();
    }
}

void CRecoveryAutosave::Arm()
{
    const auto next = schedule_.NextWrite();
    if (!next) {
        timer_.stop();
        return;
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*next - CAutosaveSchedule::Clock::now());
    timer_.start(std::max<std::chrono::milliseconds>(wait, std::chrono::milliseconds(0)));
}

void CRecoveryAutosave::OnTimer()
{
    if (schedule_.IsDue(CAutosaveSchedule::Clock::now()))
        WriteDue();
    else
        Arm();
}

void CRecoveryAutosave::WriteDue()
{
    if (!writer_)
        return;
    TakeInScriptText();
    const std::string& install = don_.GetRoot().GetInstallFolder();
    for (CMission* mission : pending_) {
        if (!history_.IsMissionModified(*mission))
            continue;
        const QUndoStack* stack = history_.StackOf(mission);
        // A writer's failure would show its message at once: it is told as a
        // failed copy instead.
        platform::RecordingPresenter quiet;
        const platform::ScopedPresenter gather(quiet);
        try {
            writer_->WriteMission(*mission, install, stack ? stack->index() : 0);
        } catch (const CVerdaxException& error) {
            Report(QStringLiteral("Копия восстановления не записана: ошибка %1").arg(error.GetCode()));
        }
    }
    pending_.clear();
    schedule_.NoteWritten();
    timer_.stop();
}

// The text typed in a script window goes into its object as the window loses the
// focus; the focused one's is taken in here without taking the focus away. A text
// the code page cannot hold stays in the window, unsaved and uncopied, until the
// user mends it (a save tells them).
void CRecoveryAutosave::TakeInScriptText()
{
    auto* script = dynamic_cast<CScriptView*>(QApplication::focusWidget());
    if (script && script->StreamTextOut())
        script->WriteBack();
}

void CRecoveryAutosave::WatchTyping(QPlainTextEdit* editor)
{
    if (!writer_)
        return;
    // Gone with the editor, or with this object.
    QObject::connect(editor, &QPlainTextEdit::textChanged, &timer_, [this] {
        schedule_.NoteEdit(CAutosaveSchedule::Clock::now());
        Arm();
    });
}

void CRecoveryAutosave::RemoveOwnCopies()
{
    if (!writer_)
        return;
    const std::string& install = don_.GetRoot().GetInstallFolder();
    for (const auto& mission : don_.GetRoot().GetMissions()) {
        if (mission->IsLoaded())
            writer_->Remove(install, mission->GetName());
    }
    pending_.clear();
    schedule_.NoteWritten();
    timer_.stop();
}

void CRecoveryAutosave::WaitUntilWritten()
{
    if (writer_)
        writer_->WaitUntilIdle();
}

void CRecoveryAutosave::Report(const QString& text)
{
    if (report_)
        report_(text);
}

}  // namespace ui
