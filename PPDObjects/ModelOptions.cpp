#include "PPDObjects/ModelOptions.h"

_DISPLAY_OPTIONS_ ModelOptions::sDisplayOptions = DISPLAY_NORMAL;
_EXTENSIONS_SUPPORT_ ModelOptions::sExtensionsSupport = ModelOptions::kAllExtensions;
