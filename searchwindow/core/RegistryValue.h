// A registry value as the about box reads it: its data and type as the
// platform returns them, turned into text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

constexpr uint32_t kRegString = 1;  // REG_SZ
constexpr uint32_t kRegDword = 4;   // REG_DWORD

// A string without its closing NUL; a 32-bit number in decimal (the number
// itself, not its bytes one by one); other types: nothing.
std::optional<std::string> RegistryValueText(uint32_t type, const std::string& data);
