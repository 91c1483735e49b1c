// The start address road: the prefix test and the Stop caption animation.
#pragma once

#include <cstdint>
#include <string>

// The five address prefixes, in the order they are tested and registered.
extern const char* const kProtocolPrefixes[5];

// An address whose front matches a known prefix (letter case aside) stays as
// it is; any other gets "http://" in front. Blanks are not trimmed.
void NormalizeAddress(std::string& address);

// Caption of the Start button for animation frame 0 to 5; frame 6 and any
// other value keep the caption as it is (nullptr).
const char* StopFrameCaption(int16_t frame);
// The frame after frame, wrapping to 0 after 6.
int16_t NextStopFrame(int16_t frame);
