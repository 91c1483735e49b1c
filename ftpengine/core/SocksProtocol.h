// SOCKS version 5 client messages (RFC 1928, user/password method RFC 1929):
// the requests the socket sends and the checks of the proxy's replies. The
// socket layer keeps the phase; this file only knows bytes. No platform headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace SocksProtocol {

// Error codes passed to OnSocksError and as the Error of OnSessionConnected.
enum : int {
    ErrTooMuchData = 20001,
    ErrVersion = 20002,
    ErrMethod = 20003,
    ErrGeneralFailure = 20004,     // reply 1
    ErrNotAllowed = 20005,         // reply 2
    ErrNetUnreachable = 20006,     // reply 3
    ErrHostUnreachable = 20007,    // reply 4
    ErrConnRefused = 20008,        // reply 5
    ErrTtlExpired = 20009,         // reply 6
    ErrCmdNotSupported = 20010,    // reply 7
    ErrAddrNotSupported = 20011,   // reply 8, or an unknown address type
    ErrUnassigned = 20012,         // any other reply code
    ErrInternal = 20013,
    ErrAuthFailed = 20015,
};

// Authentication methods of the method selection.
enum : uint8_t { MethodNone = 0, MethodUserPass = 2 };

// Longest connect reply: 4 header bytes, a length byte, a 255-byte name, the port.
constexpr size_t MaxReplyLength = 4 + 1 + 255 + 2;

enum class TVerdict { NeedMore, Done, Failed };

struct TCheck {
    TVerdict Verdict = TVerdict::NeedMore;
    int Error = 0;         // when Failed
    int ReplyCode = 0;     // the proxy's reply code, for ErrUnassigned
    size_t Length = 0;     // when Done: bytes the reply takes
    uint8_t Method = 0;    // method reply: the method chosen
};

// The method selection reply (2 bytes) to an offer of exactly Offered.
TCheck CheckMethodReply(const uint8_t* Data, size_t Count, uint8_t Offered);
// The user/password reply (2 bytes).
TCheck CheckAuthReply(const uint8_t* Data, size_t Count);
// The connect reply; bytes after Length belong to the target.
TCheck CheckConnectReply(const uint8_t* Data, size_t Count);

// Text for an error code ("unassigned error #" + ReplyCode for ErrUnassigned).
std::string ErrorMessage(int Code, int ReplyCode = 0);

// Why the fields cannot go into the requests ("" when they can): every length is
// sent in one byte, and the user/password method needs a user.
std::string CheckRequestFields(const std::string& Host, bool UserPass, const std::string& User,
                               const std::string& Password);

std::string MethodRequest(uint8_t Method);
// Callers check the fields first (CheckRequestFields).
std::string AuthRequest(const std::string& User, const std::string& Password);
// The target goes as a domain name (address type 3), even a dotted address.
std::string ConnectRequest(const std::string& Host, uint16_t Port);

}  // namespace SocksProtocol
