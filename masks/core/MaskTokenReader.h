// The token encoding of masks and of the window's state string: integer
// tokens ("-12/", 16 bits) and string tokens (an integer token with the
// length, then the characters, nothing escaped).
#pragma once

#include <cstdint>
#include <string>

// Appends the integer token of the low 16 bits of value, read as signed
// (40000 is written -25536/).
void PutInt(int32_t value, std::string& text);
// Appends the string token of value. A string longer than a length token can
// carry (32767 characters) could not be read back: std::length_error.
void PutString(const std::string& value, std::string& text);
// Take the first token off the front of text. A text without "/" is eaten
// whole and gives 0; "" gives 0. A token that is not a 16-bit decimal number,
// or a length that is negative or runs past the text, throws MaskParseError
// and leaves text as it was.
int16_t GetInt(std::string& text);
std::string GetString(std::string& text);

// Reads tokens from a text without copying what is left after each one, so
// a long sequence of masks is read in one pass. Position() is how far it got.
class MaskTokenReader {
public:
    explicit MaskTokenReader(const std::string& text, size_t from = 0) : text_(text), pos_(from) {}

    // A strict reader refuses a token without its "/" (MaskParseError)
    // instead of reading 0 from the end of the text.
    void SetStrict() { strict_ = true; }
    bool Strict() const { return strict_; }

    int16_t GetInt();
    std::string GetString();
    size_t Position() const { return pos_; }
    bool AtEnd() const { return pos_ >= text_.size(); }
    std::string Rest() const { return text_.substr(pos_); }

private:
    const std::string& text_;
    size_t pos_;
    bool strict_ = false;
};
