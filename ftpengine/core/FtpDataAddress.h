// The address of a data connection as PASV replies give it and as PORT
// sends it. No platform headers.
#pragma once

#include <cstdint>
#include <string>

struct TFtpDataAddress {
    uint8_t Host[4] = {0, 0, 0, 0};
    uint16_t Port = 0;
};

// A 227 reply's address: the first six numbers 0..255 separated by commas
// after the code. False (Out untouched) for any other code, when no such six
// numbers are there, or when they give port 0.
bool ParsePasvReply(const std::string& Line, TFtpDataAddress& Out);

// "PORT h1,h2,h3,h4,p1,p2".
std::string FormatPortCommand(const TFtpDataAddress& Address);
