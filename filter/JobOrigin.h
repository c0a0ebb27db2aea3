// Whether a job came from this machine. A pieces file is a path on the machine that made the job:
// for a job sent from elsewhere the path names nothing of the sender's here, so the filter takes
// the pieces only from jobs whose "job-originating-host-name" is this host.
#ifndef HALYX_FILTER_JOBORIGIN_H
#define HALYX_FILTER_JOBORIGIN_H

// True for "localhost" (any case; the print server's name for a client on its local socket or a
// loopback address), an IPv4 address in 127.0.0.0/8 and the IPv6 loopback "::1" (bracketed or
// not, or as an IPv4-mapped 127 address). False for anything else, a null or empty name included.
bool IsLocalJobOrigin(const char* host);

#endif  // HALYX_FILTER_JOBORIGIN_H
