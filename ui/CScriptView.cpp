#include "ui/CScriptView.h"

#include "core/ScopedValue.h"
#include "game/CDravoDon.h"
#include "platform/MessagePresenter.h"
#include "scene/CSceneObject.h"
#include "ui/CScriptLineNumberArea.h"
#include "ui/CodePageText.h"
#include "ui/RemovedObjectWindow.h"

#include <QApplication>
#include <QFontDatabase>
#include <QMenu>
#include <QPainter>
#include <QStatusTipEvent>
#include <QTextBlock>


namespace ui {
namespace {

constexpr int kFontPoints = 10;
constexpr int kMarginPadding = 6;
constexpr int kMinimumDigits = 3;
// How soon after typing the mark is checked against the object's script.
constexpr int kPendingCheckMs = 250;

QFont ScriptFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSize(kFontPoints);
    return font;
}

}  // namespace

CScriptView::CScriptView(QWidget* parent)
    : QPlainTextEdit(parent), lineNumbers_(new CScriptLineNumberArea(this)), search_(*this)
{
    setObjectName(QStringLiteral("scriptView"));
    setAccessibleName(QStringLiteral("Скрипт"));
    setFont(ScriptFont());
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFrameShape(QFrame::StyledPanel);

    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { UpdateLineNumberMargin(); });
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
        if (dy != 0)
            lineNumbers_->scroll(0, dy);
        else
            lineNumbers_->update(0, rect.y(), lineNumbers_->width(), rect.height());
    });
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        ShowPosition();
        lineNumbers_->update();  // the caret's line number is bold
    });
    connect(document(), &QTextDocument::contentsChanged, this, [this] { OnContentsChanged(); });
    pendingCheck_.setSingleShot(true);
    pendingCheck_.setInterval(kPendingCheckMs);
    connect(&pendingCheck_, &QTimer::timeout, this, [this] { CheckPending(); });
    UpdateLineNumberMargin();
}

CScriptView::~CScriptView() = default;

CSceneObject* CScriptView::SceneObject() const
{
    return dynamic_cast<CSceneObject*>(GetObject());
}

void CScriptView::Notify(CDravoDonView* sender, int code, int /*arg*/)
{
    if (code == DON_OBJECT_REMOVING) {
        CloseWindowOfRemoved(*this, *this, sender ? sender->GetObject() : nullptr);
        return;
    }
    if (code == DON_OBJECT_CHANGED) {
        FollowObject();
        return;
    }
    if (code != DON_OBJECT_SELECTED)
        return;
    if (sender && GetObject() && sender->GetObject() == GetObject())
        FollowObject();
    RepaintFrame();
}

void CScriptView::RepaintFrame()
{
    if (QWidget* frame = parentWidget())
        frame->update();
}

void CScriptView::ReloadText()
{
    if (const CSceneObject* object = SceneObject())
        LoadText(object->GetScript());
}

void CScriptView::FollowObject()
{
    const CSceneObject* object = SceneObject();
    if (!object || HoldsTyping())
        return;
    std::string script = object->GetScript();
    if (script != taken_)
        LoadText(script);
}

void CScriptView::LoadText(const std::string& script)
{
    {
        const ScopedValue loading(loading_, true);
        StreamTextIn(script);
    }
    taken_ = script;
    takenCharacters_ = document()->characterCount();
    edited_ = false;
    SetPending(false);
}

bool CScriptView::HoldsTyping()
{
    if (!edited_)
        return false;
    const std::optional<std::string> text = StreamTextOut();
    edited_ = !text || *text != taken_;
    return edited_;
}

void CScriptView::OnContentsChanged()
{
    if (loading_)
        return;
    edited_ = true;
    SetPending(SceneObject() != nullptr);
    if (!pendingCheck_.isActive())
        pendingCheck_.start();
}

// Typing taken back leaves no mark, and the window catches up with what the
// object was given meanwhile. A text of another length than the one taken is
// typing: the whole text is compared only when the lengths agree.
void CScriptView::CheckPending()
{
    if (!SceneObject() || document()->characterCount() != takenCharacters_ || HoldsTyping())
        return;
    SetPending(false);
    FollowObject();
}

void CScriptView::SetPending(bool pending)
{
    if (pending == pending_)
        return;
    pending_ = pending;
    RepaintFrame();
    CDravoDon::Instance().PendingEditsChanged();
}

bool CScriptView::WriteBack()
{
    CSceneObject* object = SceneObject();
    if (!object)
        return false;
    if (!HoldsTyping()) {
        CDravoDon::Instance().Broadcast(this, DON_OBJECT_CHANGED, 0);
        return true;
    }
    QString refused;
    const std::optional<std::string> script = StreamTextOut(&refused);
    if (!script) {
        ShowRefusal(refused);
        return false;
    }
    GiveText(*object, *script);
    return true;
}

void CScriptView::GiveText(CSceneObject& object, const std::string& text)
{
    ObjectEdit edit;
    edit.kind = EditKind::Script;
    edit.script = text;
    CDravoDon::Instance().ApplyEdit(this, object, edit);
    // An object that does not take the text leaves the window holding it.
    taken_ = object.GetScript();
    takenCharacters_ = document()->characterCount();
    edited_ = taken_ != text;
    SetPending(edited_);
}

bool CScriptView::TakePendingEdit()
{
    CSceneObject* object = SceneObject();
    if (!object || !HoldsTyping()) {
        SetPending(false);
        return true;
    }
    const std::optional<std::string> script = StreamTextOut();
    if (!script)
        return false;
    GiveText(*object, *script);
    return !edited_;
}

bool CScriptView::MayClose()
{
    if (TakePendingEdit())
        return true;
    QString refused;
    if (StreamTextOut(&refused))
        return true;  // the object takes no script: nothing the window could keep it for
    ShowRefusal(refused);
    return false;
}

void CScriptView::ShowRefusal(const QString& refused) const
{
    const ScopedValue showing(showingRefusal_, true);
    platform::Presenter().ShowMessage(0, UnrepresentableMessage(refused).toStdString());
}

void CScriptView::focusInEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusInEvent(event);
    ShowPosition();
}

void CScriptView::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    // A menu opening keeps the focus where it was: the Edit menu's commands then
    // act on this text.
    if (event->reason() != Qt::PopupFocusReason && !showingRefusal_)
        WriteBack();
}

QString CScriptView::PositionText() const
{
    const QTextCursor cursor = textCursor();
    return QStringLiteral("Стр %1, Кол %2").arg(cursor.blockNumber() + 1).arg(cursor.positionInBlock() + 1);
}

// The caret is the user's while the editor is its window's focus (also while the
// window waits to be active again), or one of the editor's own boxes (find, go to
// line) has the focus.
bool CScriptView::IsUsersEditor() const
{
    if (window()->focusWidget() == this)
        return true;
    for (const QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget()) {
        if (widget == this)
            return true;
    }
    return false;
}

void CScriptView::ShowPosition()
{
    if (IsUsersEditor())
        ShowStatus(PositionText());
}

// The main window shows status tips in its message pane; the tip travels up from
// this view to it.
void CScriptView::ShowStatus(const QString& text)
{
    QStatusTipEvent tip(text);
    QApplication::sendEvent(this, &tip);
}

void CScriptView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu(event->pos());
    menu->addSeparator();
    menu->addActions(search_.Actions());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

int CScriptView::LineNumberAreaWidth() const
{
    int digits = 1;
    for (int lines = std::max(1, blockCount()); lines >= 10; lines /= 10)
        ++digits;
    return 2 * kMarginPadding + fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(digits, kMinimumDigits);
}

void CScriptView::UpdateLineNumberMargin()
{
    setViewportMargins(LineNumberAreaWidth(), 0, 0, 0);
}

void CScriptView::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    lineNumbers_->setGeometry(area.left(), area.top(), LineNumberAreaWidth(), area.height());
}

void CScriptView::PaintLineNumbers(QPaintEvent* event)
{
    QPainter painter(lineNumbers_);
    painter.setFont(font());
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::PlaceholderText));
    const int current = textCursor().blockNumber();
    QTextBlock block = firstVisibleBlock();
    qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
    const int width = lineNumbers_->width() - kMarginPadding;
    while (block.isValid() && top <= event->rect().bottom()) {
        const qreal height = blockBoundingRect(block).height();
        if (block.isVisible() && top + height >= event->rect().top()) {
            QFont font = painter.font();
            font.setBold(block.blockNumber() == current);
            painter.setFont(font);
            painter.drawText(QRectF(0, top, width, fontMetrics().height()), Qt::AlignRight,
                             QString::number(block.blockNumber() + 1));
        }
        top += height;
        block = block.next();
    }
}

}  // namespace ui
