// The process-wide settings the option model consults: the display filter that decides which
// members are listed and shown, and the mask of supported extensions that the job-note parser
// reads.
//
// Both values are shared by every model of the process and unguarded: the model is used on the
// print dialog's thread only. The parser's root class exposes them through its own static
// accessors, which forward here, so that no model file needs the parser.
#ifndef HALYX_PPDOBJECTS_MODELOPTIONS_H
#define HALYX_PPDOBJECTS_MODELOPTIONS_H

#include "Base/MacTypes.h"

// The display filter. Bit 0 lets orphans through, bit 1 lets hidden members through; any value
// other than the first three behaves like DISPLAY_ALL.
enum _DISPLAY_OPTIONS_ : UInt32 {
    DISPLAY_NORMAL = 0,    // visible and attached members only
    DISPLAY_VISIBLE = 1,   // visible members, orphans included
    DISPLAY_ATTACHED = 2,  // attached members, hidden ones included
    DISPLAY_ALL = 3        // everything
};

// The set of supported extensions; every bit set means all of them.
typedef UInt32 _EXTENSIONS_SUPPORT_;

class ModelOptions {
public:
    static constexpr _EXTENSIONS_SUPPORT_ kAllExtensions = 0xFFFFFFFFu;

    static _DISPLAY_OPTIONS_ Display() { return sDisplayOptions; }
    static void SetDisplay(_DISPLAY_OPTIONS_ options) { sDisplayOptions = options; }

    static _EXTENSIONS_SUPPORT_ Extensions() { return sExtensionsSupport; }
    static void SetExtensions(_EXTENSIONS_SUPPORT_ extensions) { sExtensionsSupport = extensions; }

    // Starts at DISPLAY_NORMAL.
    static _DISPLAY_OPTIONS_ sDisplayOptions;
    // Starts with every bit set.
    static _EXTENSIONS_SUPPORT_ sExtensionsSupport;
};

// Sets the display filter for the lifetime of the object and puts the previous one back after.
class DisplayOptionsScope {
public:
    explicit DisplayOptionsScope(_DISPLAY_OPTIONS_ options) : mSaved(ModelOptions::Display()) {
        ModelOptions::SetDisplay(options);
    }
    ~DisplayOptionsScope() { ModelOptions::SetDisplay(mSaved); }

private:
    _DISPLAY_OPTIONS_ mSaved;

    DisplayOptionsScope(const DisplayOptionsScope&) = delete;
    DisplayOptionsScope& operator=(const DisplayOptionsScope&) = delete;
};

#endif  // HALYX_PPDOBJECTS_MODELOPTIONS_H
