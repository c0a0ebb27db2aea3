// The trace hook of the ticket code: takes a printf format and its arguments and prints nothing.
// It stays so that a debugging build can route the traces somewhere without touching the callers.
#ifndef HALYX_CORE_DEBUGPRINTF_H
#define HALYX_CORE_DEBUGPRINTF_H

inline void DebugPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
inline void DebugPrintf(const char*, ...) {}

#endif  // HALYX_CORE_DEBUGPRINTF_H
