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
