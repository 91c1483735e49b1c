#include "ClipboardText.h"

#include <cstring>

std::string ClipboardTextOf(const char* Block, size_t Size) {
    if (!Block) return std::string();
    const void* nul = std::memchr(Block, '\0', Size);
    return std::string(Block, nul ? static_cast<size_t>(static_cast<const char*>(nul) - Block) : Size);
}

std::string ClipboardBytesOf(const std::string& Text) {
    std::string bytes(Text.c_str());
    bytes.push_back('\0');
    return bytes;
}
