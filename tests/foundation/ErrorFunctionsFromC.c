/* Uses the flat error functions from C, as a host outside the class hierarchy does. */
#include "foundation/PPDXErrorFunctions.h"

unsigned long CountFatalFromC(PPDXErrors* list) {
    unsigned long fatal = 0;
    PPDXErrorObj* error;
    for (error = FirstError(list); error != 0; error = NextError(list))
        if (IsErrorFatal(error)) ++fatal;
    return fatal;
}
