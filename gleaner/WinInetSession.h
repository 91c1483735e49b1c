// The internet session of the Windows build, over WinINet.
#pragma once

#include <memory>
#include <string>

#include "InternetSession.h"

// How long a connection may take to be made, and a reply to come on it.
struct WinInetTimeouts {
    unsigned long ConnectMs = 30000;
    unsigned long ReceiveMs = 60000;
};

// A session opened with the platform's preconfigured access under the agent
// name; nullptr when WinINet cannot open one. Redirects are followed up to
// a small limit, then the address fails.
std::unique_ptr<InternetSession> MakeWinInetSession(const std::string& agent);
std::unique_ptr<InternetSession> OpenWinInetSession(const std::string& agent, const WinInetTimeouts& timeouts);

// Lets WinINet keep at least this many connections to one server open at
// once (its default of a few would make channels on one host wait in turn).
// The setting is the process's, for every session.
void RaiseConnectionLimit(long perServer);
