// The model the pane currently uses, shared by the whole process. The pane sets and clears it; the
// job output reads its special options through it.
#ifndef HALYX_CORE_CURRENTPPD_H
#define HALYX_CORE_CURRENTPPD_H

class ORBPPD;

extern ORBPPD* gORBPPD;

#endif  // HALYX_CORE_CURRENTPPD_H
