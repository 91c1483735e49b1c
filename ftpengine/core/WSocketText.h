// Texts and numbers of the socket layer that need no Winsock: error texts,
// dotted addresses, numeric ports and protocols. No platform headers.
#pragma once

#include <cstdint>
#include <string>

// English text of a Windows Sockets error code ("Not a WinSock error" for others).
std::string WSocketGetErrorText(int ErrCode);

// Four decimal parts 0..255 separated by dots, nothing else. Value gets the
// address in network byte order.
bool WSocketIsDottedIP(const std::string& s, uint32_t* Value = nullptr);
std::string WSocketDottedText(uint32_t NetworkOrderAddr);

// The decimal number that starts s (leading blanks skipped, digits up to the
// first other character). False when there is no digit or the value exceeds Max.
bool WSocketLeadingNumber(const std::string& s, unsigned long Max, unsigned long& Value);
