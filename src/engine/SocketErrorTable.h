#pragma once
// The Windows Sockets error codes that have descriptions, with the string
// ids of their short and long texts. The ids do not follow the codes' order.
#include <cstdint>

#include "Texts.h"

struct SocketErrorRow {
    std::int32_t code;
    TextId shortId;
    TextId longId;
};

constexpr SocketErrorRow kSocketErrorTable[] = {
    {10004, kErrorEintrShort, kErrorEintrLong},  // WSAEINTR
    {10013, kErrorEaccesShort, kErrorEaccesLong},  // WSAEACCES
    {10014, kErrorEfaultShort, kErrorEfaultLong},  // WSAEFAULT
    {10022, kErrorEinvalShort, kErrorEinvalLong},  // WSAEINVAL
    {10024, kErrorEmfileShort, kErrorEmfileLong},  // WSAEMFILE
    {10035, kErrorEwouldblockShort, kErrorEwouldblockLong},  // WSAEWOULDBLOCK
    {10036, kErrorEinprogressShort, kErrorEinprogressLong},  // WSAEINPROGRESS
    {10037, kErrorEalreadyShort, kErrorEalreadyLong},  // WSAEALREADY
    {10038, kErrorEnotsockShort, kErrorEnotsockLong},  // WSAENOTSOCK
    {10039, kErrorEdestaddrreqShort, kErrorEdestaddrreqLong},  // WSAEDESTADDRREQ
    {10040, kErrorEmsgsizeShort, kErrorEmsgsizeLong},  // WSAEMSGSIZE
    {10041, kErrorEprototypeShort, kErrorEprototypeLong},  // WSAEPROTOTYPE
    {10042, kErrorEnoprotooptShort, kErrorEnoprotooptLong},  // WSAENOPROTOOPT
    {10043, kErrorEprotonosupportShort, kErrorEprotonosupportLong},  // WSAEPROTONOSUPPORT
    {10044, kErrorEsocktnosupportShort, kErrorEsocktnosupportLong},  // WSAESOCKTNOSUPPORT
    {10045, kErrorEopnotsuppShort, kErrorEopnotsuppLong},  // WSAEOPNOTSUPP
    {10046, kErrorEpfnosupportShort, kErrorEpfnosupportLong},  // WSAEPFNOSUPPORT
    {10047, kErrorEafnosupportShort, kErrorEafnosupportLong},  // WSAEAFNOSUPPORT
    {10048, kErrorEaddrinuseShort, kErrorEaddrinuseLong},  // WSAEADDRINUSE
    {10049, kErrorEaddrnotavailShort, kErrorEaddrnotavailLong},  // WSAEADDRNOTAVAIL
    {10050, kErrorEnetdownShort, kErrorEnetdownLong},  // WSAENETDOWN
    {10051, kErrorEnetunreachShort, kErrorEnetunreachLong},  // WSAENETUNREACH
    {10052, kErrorEnetresetShort, kErrorEnetresetLong},  // WSAENETRESET
    {10053, kErrorEconnabortedShort, kErrorEconnabortedLong},  // WSAECONNABORTED
    {10054, kErrorEconnresetShort, kErrorEconnresetLong},  // WSAECONNRESET
    {10055, kErrorEnobufsShort, kErrorEnobufsLong},  // WSAENOBUFS
    {10056, kErrorEisconnShort, kErrorEisconnLong},  // WSAEISCONN
    {10057, kErrorEnotconnShort, kErrorEnotconnLong},  // WSAENOTCONN
    {10058, kErrorEshutdownShort, kErrorEshutdownLong},  // WSAESHUTDOWN
    {10060, kErrorEtimedoutShort, kErrorEtimedoutLong},  // WSAETIMEDOUT
    {10061, kErrorEconnrefusedShort, kErrorEconnrefusedLong},  // WSAECONNREFUSED
    {10064, kErrorEhostdownShort, kErrorEhostdownLong},  // WSAEHOSTDOWN
    {10065, kErrorEhostunreachShort, kErrorEhostunreachLong},  // WSAEHOSTUNREACH
    {10067, kErrorEproclimShort, kErrorEproclimLong},  // WSAEPROCLIM
    {10091, kErrorSysnotreadyShort, kErrorSysnotreadyLong},  // WSASYSNOTREADY
    {10092, kErrorVernotsupportedShort, kErrorVernotsupportedLong},  // WSAVERNOTSUPPORTED
    {10093, kErrorNotinitialisedShort, kErrorNotinitialisedLong},  // WSANOTINITIALISED
    {10101, kErrorEdisconShort, kErrorEdisconLong},  // WSAEDISCON
    {11001, kErrorHostNotFoundShort, kErrorHostNotFoundLong},  // WSAHOST_NOT_FOUND
    {11002, kErrorTryAgainShort, kErrorTryAgainLong},  // WSATRY_AGAIN
    {11003, kErrorNoRecoveryShort, kErrorNoRecoveryLong},  // WSANO_RECOVERY
    {11004, kErrorNoDataShort, kErrorNoDataLong},  // WSANO_DATA
};
