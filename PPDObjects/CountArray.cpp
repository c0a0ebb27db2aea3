#include "PPDObjects/CountArray.h"

#include "PPDObjects/PPDXElement.h"

void CountArray::Count(PPDXElement& element) {
    bool orphan = element.IsOrphan();
    bool invisible = !element.IsVisible();
    ++mTotal;
    if (orphan) ++mOrphans;
    if (invisible) ++mInvisible;
    if (orphan && invisible) ++mOrphanInvisible;
}

UInt32 CountArray::Under(_DISPLAY_OPTIONS_ options) const {
    switch (options) {
        case DISPLAY_NORMAL:
            return mTotal - mOrphans - mInvisible + mOrphanInvisible;
        case DISPLAY_VISIBLE:
            return mTotal - mInvisible;
        case DISPLAY_ATTACHED:
            return mTotal - mOrphans;
        case DISPLAY_ALL:
            return mTotal;
    }
    return 0;
}
