// The plug-in's fixed names: its bundle identifier, the key of its job data in the print
// settings, its interface definition, creator code and title.
#ifndef HALYX_CORE_PLUGIN_PLUGINIDENTITY_H
#define HALYX_CORE_PLUGIN_PLUGINIDENTITY_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFString.h"

// The maker's reverse-DNS prefix, ".print.pde.", the plug-in's own identifier and ".HJbn".
#define kHalyxPlugInUUIDStr "C7E33B59-AF92-41E1-A45E-0425A66FC625"
#define kHalyxBundleIdentifierStr "com.halyx.print.pde." kHalyxPlugInUUIDStr ".HJbn"
#define kHalyxBundleIdentifier CFSTR(kHalyxBundleIdentifierStr)

// The print-settings item that names the pieces file is this prefix and the bundle identifier.
#define kHalyxPSDataKeyPrefix "ORB.PSData."

// The interface definition opened while a pane interface object lives.
#define kHalyxNibName "HalyxJobNotes"
// The localized key of the pane's title.
#define kHalyxPaneTitleKey "Halyx Job Notes"

constexpr OSType kHalyxCreator = HALYX_FOUR_CHAR('O', 'R', 'B', '0');

// The pane's size in the dialog.
constexpr UInt32 kHalyxPaneWidth = 525;
constexpr UInt32 kHalyxPaneHeight = 450;

// "ORB.PSData." followed by `bundleIdentifier`, for the caller to release; null when it cannot be
// made.
CFStringRef CreatePSDataKey(CFStringRef bundleIdentifier);

#endif  // HALYX_CORE_PLUGIN_PLUGINIDENTITY_H
