#pragma once
// The dynamic data exchange message protocol: the messages, the flag words carried in their
// data blocks, and the functions that pack two values into one posted lParam.

#include "types.h"

#define WM_DDE_FIRST 0x03E0
#define WM_DDE_INITIATE (WM_DDE_FIRST)
#define WM_DDE_TERMINATE (WM_DDE_FIRST + 1)
#define WM_DDE_ADVISE (WM_DDE_FIRST + 2)
#define WM_DDE_UNADVISE (WM_DDE_FIRST + 3)
#define WM_DDE_ACK (WM_DDE_FIRST + 4)
#define WM_DDE_DATA (WM_DDE_FIRST + 5)
#define WM_DDE_REQUEST (WM_DDE_FIRST + 6)
#define WM_DDE_POKE (WM_DDE_FIRST + 7)
#define WM_DDE_EXECUTE (WM_DDE_FIRST + 8)
#define WM_DDE_LAST (WM_DDE_FIRST + 8)

/// The status word of WM_DDE_ACK (the low half of its packed lParam).
typedef struct {
  unsigned short bAppReturnCode : 8, reserved : 6, fBusy : 1, fAck : 1;
} DDEACK;

/// The block of WM_DDE_ADVISE.
typedef struct {
  unsigned short reserved : 14, fDeferUpd : 1, fAckReq : 1;
  short cfFormat;
} DDEADVISE;

/// The block of WM_DDE_DATA: flags, clipboard format, then the value.
typedef struct {
  unsigned short unused : 12, fResponse : 1, fRelease : 1, reserved : 1, fAckReq : 1;
  short cfFormat;
  BYTE Value[1];
} DDEDATA;

/// The block of WM_DDE_POKE.
typedef struct {
  unsigned short unused : 13, fRelease : 1, fReserved : 2;
  short cfFormat;
  BYTE Value[1];
} DDEPOKE;

/// Packs two values into the lParam of a posted DDE message. WM_DDE_ACK, WM_DDE_ADVISE,
/// WM_DDE_DATA and WM_DDE_POKE get a block of their own (released with FreeDDElParam, by the
/// receiver once it has unpacked it); WM_DDE_EXECUTE carries uiHi alone; the other messages
/// carry both values as the low and high words.
VEL_WIN32_API LPARAM WINAPI PackDDElParam(UINT msg, UINT_PTR uiLo, UINT_PTR uiHi);
/// Reads back the two values PackDDElParam packed. FALSE for a packed block that is not valid.
VEL_WIN32_API BOOL WINAPI UnpackDDElParam(UINT msg, LPARAM lParam, PUINT_PTR puiLo, PUINT_PTR puiHi);
/// Frees what PackDDElParam allocated for a message; the values themselves are left alone.
VEL_WIN32_API BOOL WINAPI FreeDDElParam(UINT msg, LPARAM lParam);
/// Packs new values for a reply, reusing the block of the message received when both messages
/// pack into blocks, and freeing it when the reply does not.
VEL_WIN32_API LPARAM WINAPI ReuseDDElParam(LPARAM lParam, UINT msgIn, UINT msgOut, UINT_PTR uiLo,
                                           UINT_PTR uiHi);
