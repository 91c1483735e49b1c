#include "SocksProtocol.h"

namespace SocksProtocol {

namespace {
TCheck Failed(int Error, int ReplyCode = 0) {
    TCheck c;
    c.Verdict = TVerdict::Failed;
    c.Error = Error;
    c.ReplyCode = ReplyCode;
    return c;
}

TCheck Done(size_t Length) {
    TCheck c;
    c.Verdict = TVerdict::Done;
    c.Length = Length;
    return c;
}
}  // namespace

TCheck CheckMethodReply(const uint8_t* Data, size_t Count, uint8_t Offered) {
    if (Count < 2) return TCheck();
    if (Count > 2) return Failed(ErrTooMuchData);
    if (Data[0] != 5) return Failed(ErrVersion);
    uint8_t m = Data[1];
    // No authentication is always acceptable; user/password only when it was offered.
    if (m != MethodNone && !(m == MethodUserPass && Offered == MethodUserPass)) return Failed(ErrMethod);
    TCheck c = Done(2);
    c.Method = m;
    return c;
}

TCheck CheckAuthReply(const uint8_t* Data, size_t Count) {
    if (Count < 2) return TCheck();
    if (Count > 2) return Failed(ErrTooMuchData);
    if (Data[0] != 1) return Failed(ErrVersion);
    if (Data[1] != 0) return Failed(ErrAuthFailed);
    return Done(2);
}

TCheck CheckConnectReply(const uint8_t* Data, size_t Count) {
    if (Count < 1) return TCheck();
    if (Data[0] != 5) return Failed(ErrVersion);
    if (Count < 2) return TCheck();
    uint8_t rep = Data[1];
    if (rep != 0) {
        if (rep <= 8) return Failed(ErrGeneralFailure + rep - 1, rep);
        return Failed(ErrUnassigned, rep);
    }
    if (Count < 4) return TCheck();
    size_t len;
    switch (Data[3]) {
    case 1:  // IPv4
        len = 4 + 4 + 2;
        break;
    case 4:  // IPv6
        len = 4 + 16 + 2;
        break;
    case 3:  // domain name
        if (Count < 5) return TCheck();
        len = 4 + 1 + Data[4] + 2;
        break;
    default:
        return Failed(ErrAddrNotSupported);
    }
    if (Count < len) return TCheck();
    return Done(len);
}

std::string ErrorMessage(int Code, int ReplyCode) {
    switch (Code) {
    case ErrTooMuchData: return "too much data availaible";
    case ErrVersion: return "socks version error";
    case ErrMethod: return "authentification method not acceptable";
    case ErrGeneralFailure: return "general SOCKS server failure";
    case ErrNotAllowed: return "connection not allowed by ruleset";
    case ErrNetUnreachable: return "network unreachable";
    case ErrHostUnreachable: return "host unreachable";
    case ErrConnRefused: return "connection refused";
    case ErrTtlExpired: return "time to live expired";
    case ErrCmdNotSupported: return "command not supported";
    case ErrAddrNotSupported: return "address type not supported";
    case ErrUnassigned: return "unassigned error #" + std::to_string(ReplyCode);
    case ErrInternal: return "internal error";
    case ErrAuthFailed: return "socks authentication failed";
    default: return "socks error #" + std::to_string(Code);
    }
}

std::string CheckRequestFields(const std::string& Host, bool UserPass, const std::string& User,
                               const std::string& Password) {
    if (Host.empty()) return "SOCKS target host name is empty";
    if (Host.size() > 255) return "SOCKS target host name longer than 255 bytes";
    if (UserPass) {
        if (User.empty()) return "SOCKS user code is empty";
        if (User.size() > 255) return "SOCKS user code longer than 255 bytes";
        if (Password.size() > 255) return "SOCKS password longer than 255 bytes";
    }
    return "";
}

std::string MethodRequest(uint8_t Method) {
    return std::string{'\x05', '\x01', static_cast<char>(Method)};
}

std::string AuthRequest(const std::string& User, const std::string& Password) {
    std::string s;
    s += '\x01';
    s += static_cast<char>(User.size() & 0xFF);
    s += User;
    s += static_cast<char>(Password.size() & 0xFF);
    s += Password;
    return s;
}

std::string ConnectRequest(const std::string& Host, uint16_t Port) {
    std::string s{'\x05', '\x01', '\x00', '\x03'};
    s += static_cast<char>(Host.size() & 0xFF);
    s += Host;
    s += static_cast<char>(Port >> 8);
    s += static_cast<char>(Port & 0xFF);
    return s;
}

}  // namespace SocksProtocol
