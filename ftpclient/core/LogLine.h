// Lines of the FTP log: which texts are shown, how, and in which colour;
// passwords never reach the log or the connecting box. No platform headers.
#pragma once

#include <cstdint>
#include <string>

enum TLogKind : int {
    lkInfo = 6,
    lkDebug = 7,
    lkStatus = 8,
    lkReply = 9,
    lkCommand = 11,
    lkSession = 12,
};

// Colours in the platform's blue-green-red order.
const uint32_t LogBlack = 0x000000;
const uint32_t LogOlive = 0x008080;
const uint32_t LogBlue = 0xFF0000;
const uint32_t LogGreen = 0x008000;

struct TLogLine {
    std::string Text;
    uint32_t TextColor = LogBlack;
};

// "PASS ..." becomes "PASS *****", "> PASS ..." (any letter case) "> PASS *****".
std::string MaskPassword(const std::string& Text);

// The line a text of a kind makes, each prefix 12 characters wide; false
// when the text is not shown (empty, debug and session kinds, a reply text
// that does not begin with "<", a kind of no rule).
bool MakeLogLine(const std::string& Text, int Kind, TLogLine& Out);

// What the connecting box's ticker shows of a display text: the text from
// its third character on, with the password masked.
std::string TickerText(const std::string& DisplayText);

// The engine state's text for the log and the connecting box's ticker.
std::string StateText(int State, const std::string& HostName);
