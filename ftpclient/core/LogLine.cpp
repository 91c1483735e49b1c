#include "ftpclient/core/LogLine.h"

#include "runtime/core/SysUtils.h"

std::string MaskPassword(const std::string& Text) {
    if (UpperCase(Text.substr(0, 4)) == "PASS") return "PASS *****";
    if (Text.size() >= 6 && UpperCase(Text.substr(2, 4)) == "PASS") return "> PASS *****";
    return Text;
}

bool MakeLogLine(const std::string& Text, int Kind, TLogLine& Out) {
    if (Text.empty()) return false;
    std::string text = MaskPassword(Text);
    switch (Kind) {
    case lkInfo:
        Out = TLogLine{"            " + text, LogBlack};
        return true;
    case lkStatus:
        Out = TLogLine{"Status:     " + text, LogBlue};
        return true;
    case lkReply:
        if (text[0] != '<') return false;
        Out = TLogLine{"            " + (text.size() > 2 ? text.substr(2) : std::string()), LogBlack};
        return true;
    case lkCommand:
        Out = TLogLine{"Command:    " + text, LogGreen};
        return true;
    default:  // lkDebug (the debug log is built off), lkSession, and kinds of no rule
        return false;
    }
}

std::string TickerText(const std::string& DisplayText) {
    std::string text = MaskPassword(DisplayText);
    return text.size() > 2 ? text.substr(2) : std::string();
}

std::string StateText(int State, const std::string& HostName) {
    switch (State) {
    case 0: return "Disconnected";
    case 1: return "Ready";
    case 3: return "Looking up hostname \"" + HostName + "\" ...";
    case 4: return "Connected !";
    case 5: return "Aborting...";
    case 7: return "Trying to connect to " + HostName + " ...";
    case 8: return "Waiting for response...";
    default: return std::string();
    }
}
