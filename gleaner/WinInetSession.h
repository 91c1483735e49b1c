// The internet session of the Windows build, over WinINet.
#pragma once

#include <memory>
#include <string>

#include "InternetSession.h"

// A session opened with the platform's preconfigured access under the agent
// name; nullptr when WinINet cannot open one.
std::unique_ptr<InternetSession> MakeWinInetSession(const std::string& agent);
