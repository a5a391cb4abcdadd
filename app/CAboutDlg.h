#pragma once
// The about box: one picture over the whole box, with the program's version in its
// corner. Releasing the left mouse button over it closes the box with result 0.

#include <QDialog>
#include <QPixmap>

class CAboutDlg : public QDialog {
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // The box's picture, drawn in code.
    static QPixmap Picture();

    // "Версия" and the program's version.
    static QString VersionText();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
