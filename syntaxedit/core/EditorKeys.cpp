#include "EditorKeys.h"

#include <cstring>

int16_t (*KeyScanChar)(char c) = KeyScanUS;

int16_t KeyScanUS(char ch) {
    unsigned char c = static_cast<unsigned char>(ch);
    const int16_t shift = 0x100, ctrl = 0x200;
    if (c >= 'a' && c <= 'z') return static_cast<int16_t>(c - 32);
    if (c >= 'A' && c <= 'Z') return static_cast<int16_t>(c | shift);
    if (c >= '0' && c <= '9') return static_cast<int16_t>(c);
    const char* shifted = ")!@#$%^&*(";
    if (c && strchr(shifted, c)) return static_cast<int16_t>(('0' + (strchr(shifted, c) - shifted)) | shift);
    struct Oem {
        char plain, shifted;
        uint8_t vk;
    };
    static const Oem oem[] = {{';', ':', 0xBA}, {'=', '+', 0xBB}, {',', '<', 0xBC}, {'-', '_', 0xBD},
                              {'.', '>', 0xBE}, {'/', '?', 0xBF}, {'`', '~', 0xC0}, {'[', '{', 0xDB},
                              {'\\', '|', 0xDC}, {']', '}', 0xDD}, {'\'', '"', 0xDE}};
    for (const Oem& o : oem) {
        if (c == static_cast<unsigned char>(o.plain)) return o.vk;
        if (c == static_cast<unsigned char>(o.shifted)) return static_cast<int16_t>(o.vk | shift);
    }
    switch (c) {
    case ' ': return vkSpace;
    case '\r': return vkReturn;
    case '\n': return static_cast<int16_t>(vkReturn | ctrl);
    case '\t': return vkTab;
    case '\b': return vkBack;
    case 27: return vkEscape;
    default: break;
    }
    if (c >= 1 && c <= 26) return static_cast<int16_t>(('A' + c - 1) | ctrl);
    return -1;
}

int KeyOfName(const std::string& name) {
    static const struct {
        const char* name;
        int key;
    } names[] = {{"backspace", 8}, {"delete", 46},  {"down", 40},  {"end", 35},   {"home", 36},  {"insert", 45},
                 {"left", 37},     {"pagedown", 34}, {"pageup", 33}, {"return", 13}, {"right", 39}, {"space", 32},
                 {"up", 38},       {"tab", 9}};
    for (const auto& n : names)
        if (name == n.name) return n.key;
    if (name.size() >= 2 && name.size() <= 3 && name[0] == 'f') {
        int k = 0;
        for (size_t i = 1; i < name.size(); i++) {
            if (name[i] < '0' || name[i] > '9') return -1;
            k = k * 10 + (name[i] - '0');
        }
        if (k >= 1 && k <= 12 && !(name.size() == 3 && name[1] == '0')) return 111 + k;
    }
    return -1;
}
