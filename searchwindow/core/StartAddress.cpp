#include "searchwindow/core/StartAddress.h"

#include <cctype>

const char* const kProtocolPrefixes[5] = {"file://", "http://", "ftp://", "gopher://", "mailto:"};

namespace {
std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}
}  // namespace

void NormalizeAddress(std::string& address) {
    for (const char* prefix : kProtocolPrefixes) {
        const std::string p = prefix;
        if (Upper(address.substr(0, p.size())) == Upper(p)) return;
    }
    address = "http://" + address;
}

const char* StopFrameCaption(int16_t frame) {
    static const char* const kFrames[6] = {"-  Stop  -", "\\  Stop  \\", "|  Stop  |",
                                           "/  Stop  /", "-  Stop  -", "   Stop   "};
    return frame >= 0 && frame <= 5 ? kFrames[frame] : nullptr;
}

int16_t NextStopFrame(int16_t frame) {
    const int32_t next = static_cast<int32_t>(frame) + 1;
    return next > 6 ? 0 : static_cast<int16_t>(next);
}
