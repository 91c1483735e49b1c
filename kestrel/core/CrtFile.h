// One C-runtime file stream as the Kestrel file object uses it: opened by a
// mode number, text written as is, lines read back, counted strings, the
// position. With no file open every member does nothing and reports failure.
#pragma once

#include <cstdio>
#include <string>

class CrtFile {
public:
    CrtFile() = default;
    ~CrtFile() { Close(); }
    CrtFile(const CrtFile&) = delete;
    CrtFile& operator=(const CrtFile&) = delete;

    // 0 "w", 1 "r", 2 "a", 3 "w+", 4 "r+", anything else "w+b".
    static const char* ModeOf(long Flags);
    // True when FileName opens for reading (it is closed again at once).
    static bool CanOpenForReading(const std::string& FileName);

    // Closes the stream open before, then opens FileName.
    bool Open(const std::string& FileName, long Flags);
    void Close();
    bool IsOpen() const { return f_ != nullptr; }

    // The bytes of Text up to its first NUL, no line end added.
    bool WriteText(const std::string& Text);
    bool PutLineFeed();
    // The next line, cut at its first NUL, every trailing CR and LF removed.
    // False at the end of the file or on a read failure (Line empty).
    bool ReadLine(std::string& Line);

    bool PutString(const std::u16string& s);
    bool GetString(std::u16string& s);  // false: nothing could be read (a null string)

    long Position();                    // 0 with no file open
    bool SetPosition(long Offset);

private:
    // The C runtime needs a seek between a read and a write on one stream.
    void Switch(bool writing);

    std::FILE* f_ = nullptr;
    int last_ = 0;  // 0 none, 1 read, 2 write
};
