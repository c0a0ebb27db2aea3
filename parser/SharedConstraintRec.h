// One result of the constraint queries: a constrained control and the choice concerned, as the
// 1-based position among the popup's items, or kNoChoice.
#ifndef HALYX_PARSER_SHAREDCONSTRAINTREC_H
#define HALYX_PARSER_SHAREDCONSTRAINTREC_H

#include "Base/MacTypes.h"

class PPDXControl;

#pragma pack(push, 1)
struct SharedConstraintRec {
    static constexpr UInt16 kNoChoice = 0xFFFF;

    PPDXControl* control;  // null when the keyword names no control of the model
    UInt16 index;
};
#pragma pack(pop)

#endif  // HALYX_PARSER_SHAREDCONSTRAINTREC_H
