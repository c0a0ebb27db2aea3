// Print sessions, printers, tickets, and the user name and random numbers a print pane asks for.
#ifndef HALYX_PLATFORM_PRINTCORE_PRINTCORE_H
#define HALYX_PLATFORM_PRINTCORE_PRINTCORE_H

#include "PrintCore/PMErrors.h"
#include "PrintCore/PMPrinter.h"
#include "PrintCore/PMSession.h"
#include "PrintCore/PMTicket.h"
#include "PrintCore/PMTicketKeys.h"
#include "PrintCore/ToolboxRandom.h"
#include "PrintCore/UserName.h"

#endif  // HALYX_PLATFORM_PRINTCORE_PRINTCORE_H
