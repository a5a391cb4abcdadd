#include "ui/CBusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace ui {

void CBusyCursor::Begin()
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void CBusyCursor::End()
{
    QGuiApplication::restoreOverrideCursor();
}

}  // namespace ui
