#include "Core/CurrentPPD.h"

ORBPPD* gORBPPD = nullptr;
