#pragma once
// The margin left of a script window's text that shows each line's number. It
// only paints; the script view sizes it and asks it to repaint as the text
// scrolls or grows.

#include <QWidget>

namespace ui {

class CScriptView;

class CScriptLineNumberArea : public QWidget {
public:
    explicit CScriptLineNumberArea(CScriptView* view);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CScriptView* view_;
};

}  // namespace ui
