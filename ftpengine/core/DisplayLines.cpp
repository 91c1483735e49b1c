#include "DisplayLines.h"

std::vector<std::string> CutDisplayLines(const char* Data, size_t Count) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < Count) {
        while (i < Count && (Data[i] == '\r' || Data[i] == '\n')) ++i;
        size_t start = i;
        while (i < Count && Data[i] != '\r' && Data[i] != '\n') ++i;
        if (i > start) out.emplace_back(Data + start, i - start);
    }
    return out;
}
