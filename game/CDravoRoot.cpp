#include "game/CDravoRoot.h"

CDravoRoot::CDravoRoot() = default;
CDravoRoot::~CDravoRoot() = default;
