// The internet session of the Windows build, over WinINet.
#pragma once

#include <memory>
#include <string>

#include "InternetSession.h"

// A session opened with the platform's preconfigured access under the agent
// name; nullptr when WinINet cannot open one.
std::unique_ptr<InternetSession> MakeWinInetSession(const std::string& agent);

// Lets WinINet keep at least this many connections to one server open at
// once (its default of a few would make channels on one host wait in turn).
// The setting is the process's, for every session.
void RaiseConnectionLimit(long perServer);
