// The print-settings ticket of a print session: where the pane writes its results for the job.
#ifndef HALYX_CORE_PRINTSETTINGSTICKET_H
#define HALYX_CORE_PRINTSETTINGSTICKET_H

#include "Core/JobTicket.h"

class PrintSettingsTicket : public JobTicket {
public:
    // Valid when the session holds a print-settings ticket.
    explicit PrintSettingsTicket(PMPrintSession session)
        : JobTicket(session, kPDE_PMPrintSettingsRef) {}
};

#endif  // HALYX_CORE_PRINTSETTINGSTICKET_H
