#include "game/CDravoDonView.h"

#include "game/CDravoDon.h"

CDravoDonView::~CDravoDonView()
{
    CDravoDon::ForgetView(this);
}
