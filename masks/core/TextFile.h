// What masks and reports need of Kestrel's file object: lines written with
// WriteString and PutBR, lines read back with ReadString. The window side
// implements it over IKesFile; tests use a file in memory.
#pragma once

#include <string>

class LineWriter {
public:
    virtual ~LineWriter() = default;
    // The text as it is, no line end. False when it could not be written.
    virtual bool WriteString(const std::string& text) = 0;
    // One line end (CR LF in the file).
    virtual bool PutBR() = 0;
};

class LineReader {
public:
    virtual ~LineReader() = default;
    // The next line without its trailing CR and LF characters. False at the
    // end of the file (line empty), so an empty line and the end differ.
    virtual bool ReadString(std::string& line) = 0;
};

class TextFile : public LineWriter, public LineReader {
public:
    // Flags as Kestrel's: 0 create or empty for writing, 1 read.
    virtual bool Open(const std::string& fileName, long flags) = 0;
    virtual void Close() = 0;
    virtual bool CheckExists(const std::string& fileName) = 0;
};
