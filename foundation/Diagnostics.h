// Diagnostics: lines for a developer (what a lookup found, which encoding a name chose) that
// nobody else wants on standard error. They are written only when the environment variable
// HALYX_DIAGNOSTICS is set to a value other than "" and "0".
#ifndef HALYX_FOUNDATION_DIAGNOSTICS_H
#define HALYX_FOUNDATION_DIAGNOSTICS_H

// True when diagnostics were asked for; read afresh on each call.
bool HalyxDiagnosticsWanted();

#endif  // HALYX_FOUNDATION_DIAGNOSTICS_H
