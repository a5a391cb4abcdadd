#pragma once
// A docking bar that goes to any side of the main window or floats, and that the
// user resizes while docked by dragging a 6-pixel edge on its side facing the middle
// of the window. Qt's docking decides where the bar goes; this class keeps the
// bar's sizes per orientation and its sizing edge.

#include <QDockWidget>
#include <QPoint>
#include <QRect>
#include <QSize>

class QBoxLayout;
class QMainWindow;
class QRubberBand;

namespace ui {

class CSizingEdge;

class CSizingControlBar : public QDockWidget {
public:
    enum class DockSide { Top, Left, Right, Bottom, Floating };

    static constexpr int kMinimumSize = 32;
    static constexpr int kEdgeWidth = 6;

    // `defaultSize` becomes the horizontal, vertical and floating size alike; `id`
    // names the bar among the frame's children.
    CSizingControlBar(const QString& title, QMainWindow* frame, QSize defaultSize, int id);
    ~CSizingControlBar() override;

    int GetId() const { return id_; }
    DockSide GetDockSide() const { return side_; }
    QSize GetHorizontalSize() const { return horizontalSize_; }
    QSize GetVerticalSize() const { return verticalSize_; }
    QSize GetFloatingSize() const { return floatingSize_; }

    // Sizes kept from an earlier run: each side is held between kMinimumSize and
    // kMaximumSize, whatever the stored numbers say.
    void RestoreSizes(QSize horizontal, QSize vertical, QSize floating);
    // The sizes the bar was made with.
    void ResetSizes();
    static constexpr int kMaximumSize = 16384;

    // The edge the user drags; hidden while floating.
    QWidget* SizingEdge() const;

    // Applies a drag of the sizing edge by `movement` pixels towards the middle of
    // the frame: the bar's size on its axis changes by that much, kept between the
    // minimum size and the current size plus the frame's client extent on that axis.
    // Returns the new size.
    int ApplyEdgeDrag(int movement);

    // What the docking layout asks of the bar's content for the current side.
    QSize ContentSizeHint() const;
    QSize ContentMinimumSize() const;

    // Called by the edge widget while the user drags it (global coordinates).
    void BeginTracking(QPoint globalPos);
    void MoveTracker(QPoint globalPos);
    void EndTracking(bool apply);
    bool IsTracking() const { return tracking_; }

protected:
    // The widget that fills the bar beside its sizing edge.
    void SetContent(QWidget* content);
    QMainWindow* Frame() const { return frame_; }

private:
    void UpdateDockSide();
    void PlaceEdge();
    bool IsVertical() const { return side_ == DockSide::Left || side_ == DockSide::Right; }
    int CurrentExtent() const;
    int TitleThickness() const;
    int FrameClientExtent() const;
    int MovementTowardsMiddle(QPoint delta) const;

    QMainWindow* frame_;
    int id_;
    QSize defaultSize_;
    QSize horizontalSize_;
    QSize verticalSize_;
    QSize floatingSize_;
    DockSide side_ = DockSide::Floating;

    QWidget* container_ = nullptr;
    QBoxLayout* layout_ = nullptr;
    QWidget* content_ = nullptr;
    CSizingEdge* edge_ = nullptr;

    QRubberBand* tracker_ = nullptr;
    QRect trackerStart_;  // frame coordinates
    QPoint dragStart_;    // global
    bool tracking_ = false;
};

}  // namespace ui
