// Text on the clipboard: ANSI bytes ending with a 0 inside a memory block.
#pragma once

#include <cstddef>
#include <string>

// The text of a block of Size bytes: up to its first 0, and never past the
// block's end when it holds none.
std::string ClipboardTextOf(const char* Block, size_t Size);

// The bytes a block gets for Text: Text up to its first 0, then a 0.
std::string ClipboardBytesOf(const std::string& Text);
