// Cuts a received block into the pieces shown line by line. No platform headers.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Pieces between runs of CR and LF; a piece may be a line cut by the block end.
std::vector<std::string> CutDisplayLines(const char* Data, size_t Count);
