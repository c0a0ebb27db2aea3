// Failure injection for the platform services.
//
// Every platform wrapper that can fail for reasons outside the program (an allocation, a file read,
// a text conversion, a file open) asks HalyxShouldFail() first; when a test has armed that kind of
// failure, the wrapper fails exactly as the host would have failed (memFullErr, ioErr, ...). This is
// how the system's out-of-memory and read-error branches are run by tests.
//
// Arming: HalyxInjectFailures(kind, skip, count) lets the next `skip` operations of that kind succeed
// and makes the `count` after them fail. A count of -1 fails every later operation until reset.
// State is process-wide and not guarded: tests are single-threaded.
#ifndef HALYX_PLATFORM_TESTING_FAILUREINJECTION_H
#define HALYX_PLATFORM_TESTING_FAILUREINJECTION_H

#ifdef __cplusplus
extern "C" {
#endif

typedef enum HalyxFailureKind {
    kHalyxFailAllocation = 0,  // NewHandle, TempNewHandle, SetHandleSize growth, NewPtr
    kHalyxFailFileRead = 1,    // FSRead
    kHalyxFailFileOpen = 2,    // FSpOpenDF, FSpOpenResFile
    kHalyxFailConversion = 3,  // TECConvertText
    kHalyxFailureKindCount = 4
} HalyxFailureKind;

void HalyxInjectFailures(HalyxFailureKind kind, int skip, int count);

// Consumes one operation of `kind`; true when that operation must fail.
int HalyxShouldFail(HalyxFailureKind kind);

// How many operations of `kind` were failed on purpose since the last reset.
int HalyxInjectedFailureCount(HalyxFailureKind kind);

// Disarms every kind and clears the counts.
void HalyxResetFailures(void);

#ifdef __cplusplus
}

// Disarms every kind when it leaves scope, so a failing test cannot leak armed failures.
class HalyxFailureScope {
public:
    HalyxFailureScope() { HalyxResetFailures(); }
    ~HalyxFailureScope() { HalyxResetFailures(); }
    HalyxFailureScope(const HalyxFailureScope&) = delete;
    HalyxFailureScope& operator=(const HalyxFailureScope&) = delete;
};
#endif

#endif  // HALYX_PLATFORM_TESTING_FAILUREINJECTION_H
