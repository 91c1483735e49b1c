#include "searchwindow/core/RegistryValue.h"

std::optional<std::string> RegistryValueText(uint32_t type, const std::string& data) {
    if (type == kRegString) {
        std::string s = data;
        while (!s.empty() && s.back() == '\0') s.pop_back();
        return s;
    }
    if (type == kRegDword && data.size() >= 4) {
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(data[static_cast<size_t>(i)]);
        return std::to_string(v);
    }
    return std::nullopt;
}
