#include "ui/CMainToolBar.h"

#include "ui/CCommandSet.h"
#include "ui/CommandIds.h"
#include "ui/IconStrips.h"

#include <initializer_list>

namespace ui {

CMainToolBar::CMainToolBar(QWidget* parent, const CCommandSet& commands) : QToolBar(QStringLiteral("Toolbar"), parent)
{
    setObjectName(QStringLiteral("toolBar%1").arg(ID_VIEW_TOOLBAR));
    setIconSize(QSize(kIconSize, kIconSize));
    setMovable(true);
    setAllowedAreas(Qt::AllToolBarAreas);
    const std::initializer_list<int> buttons{ID_FILE_NEW,  0,            ID_EDIT_CUT, ID_EDIT_COPY,
                                             ID_EDIT_PASTE, 0,           ID_EDIT_UNDO, ID_EDIT_REDO,
                                             0,            ID_FILE_PRINT, 0,           ID_APP_ABOUT,
                                             ID_CONTEXT_HELP};
    for (int id : buttons) {
        if (id == 0)
            addSeparator();
        else
            addAction(commands.Action(id));
    }
}

}  // namespace ui
