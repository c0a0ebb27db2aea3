// Every header of the value library.
#ifndef HALYX_PLATFORM_COREFOUNDATION_COREFOUNDATION_H
#define HALYX_PLATFORM_COREFOUNDATION_COREFOUNDATION_H

#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFBase.h"
#include "CoreFoundation/CFBundle.h"
#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFDictionary.h"
#include "CoreFoundation/CFError.h"
#include "CoreFoundation/CFNumber.h"
#include "CoreFoundation/CFPlugIn.h"
#include "CoreFoundation/CFPropertyList.h"
#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFStringEncodingNames.h"
#include "CoreFoundation/CFURL.h"
#include "CoreFoundation/CFUUID.h"

#endif  // HALYX_PLATFORM_COREFOUNDATION_COREFOUNDATION_H
