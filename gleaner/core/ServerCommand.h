// What Gleaner.exe's command line asks for. No platform headers.
#pragma once

#include <string>

enum class ServerCommand { Serve, Register, Unregister };

// Each "-" or "/" is followed by the rest of the line, which must be
// "UnregServer" or "RegServer" in any letter case, nothing more; otherwise
// the program serves (as when started for a client, "-Embedding").
ServerCommand ParseServerCommand(const std::string& CommandLine);
