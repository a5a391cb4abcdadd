#pragma once
// A general roll-up control: pages stacked vertically, each under a flat, checkable
// title button that opens or closes it, with a frame box around title and page.
// When the pages are taller than the control the stack scrolls: with the 6-pixel
// strip on the right edge, the wheel, or by dragging a page's background with the
// left or middle button. A context menu opens or closes all pages or one page.
// Greyed pages stay closed and their title buttons cannot be used.
//
// The control knows nothing of what its pages show. The numbers of the layout are
// CRollupLayout's; this widget turns events into its calls. Every operation that
// takes a page index ignores an index out of range.

#include "ui/CRollupLayout.h"

#include <QWidget>

#include <memory>
#include <vector>

class QGroupBox;
class QMenu;
class QPushButton;

namespace ui {

// One page of the control; the control owns the three widgets (as Qt children).
struct RC_PAGEINFO {
    QWidget* page = nullptr;
    QPushButton* titleButton = nullptr;
    QGroupBox* frameBox = nullptr;
    bool expanded = false;
    bool enabled = true;
};

class CRollupCtrl : public QWidget {
public:
    // The commands of the context menu; a page's item is kFirstPageCommand + index.
    static constexpr int kExpandAllCommand = 256;
    static constexpr int kCollapseAllCommand = 257;
    static constexpr int kFirstPageCommand = 258;

    explicit CRollupCtrl(QWidget* parent = nullptr);
    ~CRollupCtrl() override;

    // Adds `page` under `title` at `index` (negative, or not below the page count:
    // appended) and returns its index; -1 for a null page. The page keeps its own
    // height (its size hint when it was never sized); the control sets its position
    // and width.
    int AddPage(const QString& title, std::unique_ptr<QWidget> page, int index = -1);

    int PageCount() const { return static_cast<int>(pages_.size()); }

    // Opening a page also scrolls it into view. A greyed page keeps its state.
    void SetPageExpanded(int index, bool expanded);
    void SetAllExpanded(bool expanded);

    // A greyed page keeps its expanded flag and shows open again when enabled.
    void SetPageEnabled(int index, bool enabled);
    void SetAllEnabled(bool enabled);

    bool PageIsOpen(int index) const;
    const RC_PAGEINFO* PageAt(int index) const;

    // Lines the page's title button up with the control's top when `toTop`, or when
    // the page reaches below the control's bottom or above its top.
    void ScrollPageIntoView(int index, bool toTop);

    // Keeps the offset in range and places every page's windows.
    void Relayout();

    int ScrollOffset() const { return offset_; }
    int ContentHeight() const;
    RollupThumb Thumb() const;

    // The context menu as it is shown; its actions carry their commands as data.
    std::unique_ptr<QMenu> CreateContextMenu();

    // A context menu command, a click on a title button's page toggles it.
    void OnCommand(int command);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    std::vector<RollupPageState> PageStates() const;
    bool ChangeExpanded(RC_PAGEINFO& info, bool expanded);
    void ChangeEnabled(RC_PAGEINFO& info, bool enabled);
    int IndexOfPage(const QObject* page) const;
    bool Scrolls() const;
    void ScrollTo(int offset);
    void StripPressed(int y);
    bool PageMouseEvent(QWidget* page, QEvent* event);
    QRect StripRect() const;

    std::vector<RC_PAGEINFO> pages_;
    int offset_ = 0;
    int lastMouseY_ = 0;           // screen y of a page background drag
    int thumbGrabOffset_ = 0;      // set when the strip is pressed
    bool stripDragging_ = false;
    QWidget* draggedPage_ = nullptr;  // the page whose background is being dragged
};

}  // namespace ui
