#include "ServerCommand.h"

#include "InfoAddress.h"

namespace {
bool EqualsNoCase(const std::string& a, size_t from, const char* b) {
    size_t i = from;
    for (; *b; ++b, ++i)
        if (i >= a.size() || UpperChar(a[i]) != UpperChar(*b)) return false;
    return i == a.size();
}
}  // namespace

ServerCommand ParseServerCommand(const std::string& CommandLine) {
    for (size_t i = 0; i < CommandLine.size(); ++i) {
        if (CommandLine[i] != '-' && CommandLine[i] != '/') continue;
        if (EqualsNoCase(CommandLine, i + 1, "UnregServer")) return ServerCommand::Unregister;
        if (EqualsNoCase(CommandLine, i + 1, "RegServer")) return ServerCommand::Register;
    }
    return ServerCommand::Serve;
}
