// Name lookups of the socket: the blocking resolvers of host, port and
// protocol, and the asynchronous lookups answered through the socket's window.
#include <cstring>
#include <functional>

#include "WSocket.h"
#include "WSocketWinsock.h"

// ---------------------------------------------------------------- resolvers

uint32_t WSocketResolveHost(const std::string& InAddr) {
    std::string s = Trim(InAddr);
    if (s.empty() || s.size() > 256) throw ESocketException("WSocketResolveHost: Invalid Hostname.");
    WSocketStartWinsock();
    uint32_t a = 0;
    if (WSocketIsDottedIP(s, &a)) return a;
    hostent* he = gethostbyname(s.c_str());
    if (!he || he->h_addrtype != AF_INET || he->h_length != 4 || !he->h_addr_list || !he->h_addr_list[0])
        throw ESocketException(Format("WSocketResolveHost: Cannot convert host address '%s'", s.c_str()));
    std::memcpy(&a, he->h_addr_list[0], 4);
    return a;
}

namespace {
// A text that starts with a digit is a number up to Max; any other is a name
// for Lookup (which returns -1 when it does not know it).
long NumberOrName(const std::string& Text, unsigned long Max, const char* Invalid, const char* Unknown,
                  const std::function<long(const std::string&)>& Lookup) {
    std::string s = Trim(Text);
    if (s.empty() || s.size() >= 32) throw ESocketException(Invalid);
    if (s[0] >= '0' && s[0] <= '9') {
        unsigned long v = 0;
        // A number that does not fit is refused rather than wrapped.
        if (!WSocketLeadingNumber(s, Max, v)) throw ESocketException(Invalid);
        return static_cast<long>(v);
    }
    WSocketStartWinsock();
    long r = Lookup(s);
    if (r < 0) throw ESocketException(Format(Unknown, s.c_str()));
    return r;
}
}  // namespace

uint16_t WSocketResolvePort(const std::string& Port, const std::string& Proto) {
    std::string p = Trim(Proto);
    return static_cast<uint16_t>(NumberOrName(Port, 65535, "WSocketResolvePort: Invalid Port.",
                                              "WSocketResolvePort: Cannot convert port '%s'",
                                              [&](const std::string& Name) -> long {
                                                  servent* se = getservbyname(Name.c_str(), p.empty() ? nullptr : p.c_str());
                                                  return se ? ntohs(static_cast<u_short>(se->s_port)) : -1;
                                              }));
}

int WSocketResolveProto(const std::string& Proto) {
    return static_cast<int>(NumberOrName(Proto, 255, "WSocketResolveProto: Invalid Protocol.",
                                         "WSocketResolveProto: Cannot convert protocol '%s'",
                                         [](const std::string& Name) -> long {
                                             protoent* pe = getprotobyname(Name.c_str());
                                             return pe ? pe->p_proto : -1;
                                         }));
}

void TCustomWSocket::HandleLookupDone(UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (!FDnsLookupHandle || reinterpret_cast<HANDLE>(wParam) != FDnsLookupHandle) return;
    FDnsLookupHandle = nullptr;
    uint16_t error = WSAGETASYNCERROR(lParam);
    FDnsResult.clear();
    FDnsResultList.Clear();
    if (error == 0) {
        const hostent* he = reinterpret_cast<const hostent*>(FDnsLookupBuffer);
        if (Msg == WM_SOCKET_HOST_BY_NAME) {
            if (he->h_addrtype == AF_INET && he->h_length == 4 && he->h_addr_list) {
                for (char** p = he->h_addr_list; *p; ++p) {
                    uint32_t a;
                    std::memcpy(&a, *p, 4);
                    FDnsResultList.Add(WSocketDottedText(a));
                }
            }
            if (FDnsResultList.Count() > 0) FDnsResult = FDnsResultList.Strings(0);
        } else {
            FDnsResult = he->h_name ? he->h_name : "";
            FDnsResultList.Add(FDnsResult);
        }
    }
    TriggerDnsLookupDone(error);
}

// ---------------------------------------------------------------- name lookups

bool TCustomWSocket::BeginLookup(bool Valid) {
    if (!Valid) {
        HandleError("DNS lookup: invalid host name.");
        TriggerDnsLookupDone(WSAEINVAL);
        return false;
    }
    CancelLookup();
    FDnsResult.clear();
    FDnsResultList.Clear();
    return true;
}

void TCustomWSocket::DnsLookup(const std::string& HostName) {
    std::string host = Trim(HostName);
    if (!BeginLookup(!host.empty())) return;
    uint32_t a = 0;
    if (WSocketIsDottedIP(host, &a)) {
        FDnsResult = WSocketDottedText(a);
        FDnsResultList.Add(FDnsResult);
        TriggerDnsLookupDone(0);
        return;
    }
    FDnsLookupHandle =
        WSAAsyncGetHostByName(Handle(), WM_SOCKET_HOST_BY_NAME, host.c_str(), FDnsLookupBuffer, MAXGETHOSTSTRUCT);
    if (!FDnsLookupHandle) HandleError(Format("%s: can't start DNS lookup, error #%d", host.c_str(), WSAGetLastError()));
}

void TCustomWSocket::AddressLookup(const std::string& HostAddr) {
    std::string addr = Trim(HostAddr);
    uint32_t a = 0;
    if (!BeginLookup(WSocketIsDottedIP(addr, &a))) return;
    FLookupAddr = a;
    FDnsLookupHandle = WSAAsyncGetHostByAddr(Handle(), WM_SOCKET_HOST_BY_ADDR, reinterpret_cast<const char*>(&FLookupAddr),
                                             4, AF_INET, FDnsLookupBuffer, MAXGETHOSTSTRUCT);
    if (!FDnsLookupHandle) HandleError(Format("%s: can't start DNS lookup, error #%d", addr.c_str(), WSAGetLastError()));
}

void TCustomWSocket::CancelLookup() {
    if (!FDnsLookupHandle) return;
    HANDLE h = FDnsLookupHandle;
    FDnsLookupHandle = nullptr;
    if (WSACancelAsyncRequest(h) != 0) {
        int e = WSAGetLastError();
        // A lookup that has just finished cannot be cancelled; its message is
        // ignored now that it is no longer pending.
        if (e != WSAEINVAL && e != WSAEALREADY) {
            SocketError("WSACancelAsyncRequest", e);
            return;
        }
    }
    if (!Destroying()) TriggerDnsLookupDone(WSAEINTR);
}
