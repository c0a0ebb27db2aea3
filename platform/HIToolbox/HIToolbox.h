// The headless widget toolkit: windows, controls, the list-view data browser, events and their
// dispatch, the recorded drawing port, the beep, and input synthesis for hosts and tests.
#ifndef HALYX_PLATFORM_HITOOLBOX_HITOOLBOX_H
#define HALYX_PLATFORM_HITOOLBOX_HITOOLBOX_H

#include "HIToolbox/Events.h"
#include "HIToolbox/ControlDefinitions.h"
#include "HIToolbox/Controls.h"
#include "HIToolbox/DataBrowser.h"
#include "HIToolbox/HalyxInput.h"
#include "HIToolbox/NibReference.h"
#include "HIToolbox/MacWindows.h"
#include "HIToolbox/PortRecording.h"
#include "HIToolbox/Quickdraw.h"
#include "HIToolbox/Sound.h"

#endif  // HALYX_PLATFORM_HITOOLBOX_HITOOLBOX_H
