// Bundles: a folder `Name.plugin/` (or `.bundle`) holding `Contents/Info.plist`, the executable
// in `Contents/MacOS/`, and resources in `Contents/Resources/`, localized ones in
// `<Language>.lproj/` folders beside them (with `<Table>.strings` tables of localized strings).
//
// Bundles are registered by folder: creating a bundle for a folder that already has one returns
// that same object. The localization used is "English.lproj", else "en.lproj", else the first
// `.lproj` folder by name.
#ifndef HALYX_PLATFORM_COREFOUNDATION_CFBUNDLE_H
#define HALYX_PLATFORM_COREFOUNDATION_CFBUNDLE_H

#include "CoreFoundation/CFBase.h"
#include "CoreFoundation/CFDictionary.h"
#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFURL.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct __CFBundle* CFBundleRef;

// Info.plist keys (macros so that they can be used while static objects are being initialized).
#define kCFBundleIdentifierKey CFSTR("CFBundleIdentifier")
#define kCFBundleExecutableKey CFSTR("CFBundleExecutable")
#define kCFBundleNameKey CFSTR("CFBundleName")
#define kCFBundleVersionKey CFSTR("CFBundleVersion")
#define kCFBundleDevelopmentRegionKey CFSTR("CFBundleDevelopmentRegion")

CFTypeID CFBundleGetTypeID(void);

// The bundle of the folder at `bundleURL` (retained for the caller); NULL when the folder does
// not exist. A missing or unreadable Info.plist gives an empty info dictionary.
CFBundleRef CFBundleCreate(CFAllocatorRef allocator, CFURLRef bundleURL);

// Searches the bundles made so far, then the `*.plugin` and `*.bundle` folders inside the
// registered search folders. Not retained for the caller; NULL when none has this identifier.
CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef bundleID);

// Registers a folder whose bundles CFBundleGetBundleWithIdentifier may find.
void HalyxBundleAddSearchFolder(const char* posixPath);
// Forgets every registered bundle and search folder (bundles still held by callers stay valid).
void HalyxBundleResetRegistry(void);

// Not retained for the caller.
CFStringRef CFBundleGetIdentifier(CFBundleRef bundle);
CFDictionaryRef CFBundleGetInfoDictionary(CFBundleRef bundle);
CFTypeRef CFBundleGetValueForInfoDictionaryKey(CFBundleRef bundle, CFStringRef key);

// Retained for the caller.
CFURLRef CFBundleCopyBundleURL(CFBundleRef bundle);
CFURLRef CFBundleCopyResourcesDirectoryURL(CFBundleRef bundle);
// Contents/MacOS/<CFBundleExecutable>; NULL when the key or the file is missing.
CFURLRef CFBundleCopyExecutableURL(CFBundleRef bundle);

// Finds `resourceName[.resourceType]` in Resources/[subDirName]/, then in the localization's
// folder; NULL when it exists in neither. `resourceType` and `subDirName` may be NULL.
CFURLRef CFBundleCopyResourceURL(CFBundleRef bundle, CFStringRef resourceName,
                                 CFStringRef resourceType, CFStringRef subDirName);

// The entry for `key` in the table `tableName` (NULL = "Localizable"); when there is none,
// `value` if it is given and not empty, else `key`. Retained for the caller.
CFStringRef CFBundleCopyLocalizedString(CFBundleRef bundle, CFStringRef key, CFStringRef value,
                                        CFStringRef tableName);
#define CFCopyLocalizedStringFromTableInBundle(key, tbl, bundle, comment) \
    CFBundleCopyLocalizedString((bundle), (key), (key), (tbl))

#ifdef __cplusplus
}
#endif

#endif  // HALYX_PLATFORM_COREFOUNDATION_CFBUNDLE_H
