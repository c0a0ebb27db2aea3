// Packing of user-authentication data for the print server.
//
// A user name, a password, a domain and a 16-byte client identifier (GUID) are packed into a record
// that carries its own SHA-1 digest, enciphered with Twofish under a fresh random session key,
// packed again with that session key, enciphered with Twofish under the fixed key shared with the
// print server, and sent as one line of Base64 text. UAL_UnpackAndDecrypt reverses it.
//
// Record layouts (numbers big-endian unless said otherwise):
//   authentication record: version 1, lenU, lenP, lenD, domain type, GUID (16 bytes), then the user
//     name, password and domain bytes without terminators; dataSize = 36 + lenU + lenP + lenD.
//   sealed block (L1 bytes, the smallest multiple of 16 above lenU + lenP + lenD + 60): dataSize,
//   the
//     record, its SHA-1 digest as the words H0..H4 each least significant byte first, zeros.
//   outer record (L1 + 48 bytes): version 1, L1, the 32-byte session key, the sealed block
//   enciphered
//     under the session key, 8 zero bytes.
//
// Process-wide state, not guarded (one thread): the random generator's seed (set on first use), the
// last unique time handed out, and the buffer that goGetMACAddress hands out. The fixed key's
// schedule is made once, on first use (safely from any thread), and kept for the process.
#ifndef HALYX_PPDOBJECTS_CONTROLS_PPDXUSERAUTHLIB_H
#define HALYX_PPDOBJECTS_CONTROLS_PPDXUSERAUTHLIB_H

#include "Base/MacTypes.h"

typedef SInt32 UAL_DomainType;

// The only domain type the system writes.
const UAL_DomainType kUAL_DomainTypeDefault = 2;
const int kUAL_GUIDSize = 16;

// Packs and enciphers. `domain` may be null (packed as empty), `guid` too (16 zero bytes). *outText
// is set to null first; on success it receives the NUL-terminated text, 4 * ceil(L2 / 3)
// characters, which the caller releases with free() (or AUTH_freeBuffer), and the result is 0. -1
// for a null user name, password or `outText`, a failed allocation or a failed encryption.
int UAL_PackAndEncrypt(const char* userName, const char* password, const char* domain,
                       UAL_DomainType domainType, const UInt8* guid, char** outText);

// Deciphers and unpacks `text`. On success (0) *userName, *password and *domain are new
// NUL-terminated strings the caller releases with free(), and *domainType and the 16 bytes at
// `guid` are set. -1, with the three strings null, for null arguments, text that does not decode to
// an outer record, a version other than 1, lengths that do not fit the data, a digest mismatch or a
// failed allocation.
int UAL_UnpackAndDecrypt(const char* text, char** userName, char** password, char** domain,
                         UAL_DomainType* domainType, UInt8* guid);

// The system's packing call: a record with this machine's GUID, an empty domain and domain type 2.
// The user name and password (their first 255 bytes) are packed only when `domainType` is 2 and
// the user name is not empty; otherwise both are packed empty. `domain` and `reserved` are not
// used. 0 and the text in *outText, or -1 with *outText null (-1 too for a null `outText`).
int AUTH_packAndEncrypt(const char* userName, const char* password, const char* domain,
                        UAL_DomainType domainType, int reserved, char** outText);

// Frees *buffer when `buffer` and *buffer are non-null, and sets *buffer to null.
void AUTH_freeBuffer(char** buffer);

// Fills the 16 bytes at `guid`: the primary Ethernet interface's MAC address (zero when there is
// none), a time stamp from a unique time of day (bytes 6-9, least significant first: the seconds
// shifted left by 4 with bits 24-27 taken from bits 8-11 of the microseconds), zeros. False only
// for a null `guid`.
bool CreateGUID(UInt8* guid);

// Looks up the primary Ethernet interface in the hardware registry and hands out, in *macAddress,
// the process-wide 6-byte buffer holding its controller's MAC address (zero when none was read).
// 0 when an address was read; otherwise the registry's status (5 when no interface was found), and
// when the lookup itself fails *macAddress is left as it was. Reports lookup failures, and dumps
// the address it reads, on standard error.
SInt32 goGetMACAddress(UInt8** macAddress);

// For tests: replaces the clock CreateGUID reads (null restores the system clock).
typedef void (*UAL_ClockProc)(long* seconds, long* microseconds);
void UAL_SetClockForTesting(UAL_ClockProc clock);

#endif  // HALYX_PPDOBJECTS_CONTROLS_PPDXUSERAUTHLIB_H
