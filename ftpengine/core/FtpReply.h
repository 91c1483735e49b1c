// Judging FTP reply lines: codes, continuation lines, accepted-code lists and
// the values some replies carry (folder name, size). No platform headers.
#pragma once

#include <cstdint>
#include <string>

// True for a line that does not end a reply: its first character is not a
// digit, or its number is followed directly by '-'.
bool IsContinuationLine(const std::string& Line);

// The number at the start of a line: blanks (space, tab, CR, LF) skipped, an
// optional sign, decimal digits; 0 when there are none. Saturates instead of
// overflowing.
int32_t ReplyCode(const std::string& Line);

// The first number after the code (SIZE reply); 0 when there is none.
int64_t ReplyNumberAfterCode(const std::string& Line);

// A list of at most 15 codes ended by 0. Empty: a code below 500 succeeds.
bool CodeAccepted(int32_t Code, const int32_t* AcceptCodes);

// The quoted folder name after the code ("" when not quoted); a doubled
// double quote inside stands for one.
std::string ParseDirResult(const std::string& Line);

// "N bytes received/sent in S seconds (R Bytes/sec)".
std::string TransferStatisticsText(int64_t Bytes, uint32_t ElapsedMs);

// The size a 150 reply announces as "(N bytes)"; -1 when it names none. The
// last such group counts, so a file name holding one does not mislead.
int64_t AnnouncedSize(const std::string& Line);
