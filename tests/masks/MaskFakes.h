// Fakes for the two seams of the mask model: the engine's search object
// (every call recorded as one line) and Kestrel's file object (files in memory,
// written as text mode writes them: a line end is CR LF).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "masks/core/InfoSearchCalls.h"
#include "masks/core/TextFile.h"

class RecordingSearch : public InfoSearchCalls {
public:
    int32_t StatusValue = 0;
    std::vector<std::string> Log;

    int32_t Status() override { return StatusValue; }
    void EmptyMasks() override { Log.push_back("EmptyMasks"); }
    void AddMask(const std::string& MaskName, const std::string& MaskValue, const std::string& DependOn,
                 int32_t MaskType, int32_t DependType, int32_t Priority, int32_t MaxFoundCount, int32_t CanCompile,
                 int32_t Hidden) override {
        Log.push_back("AddMask(" + MaskName + "|" + MaskValue + "|" + DependOn + "|" + std::to_string(MaskType) +
                      "|" + std::to_string(DependType) + "|" + std::to_string(Priority) + "|" +
                      std::to_string(MaxFoundCount) + "|" + std::to_string(CanCompile) + "|" +
                      std::to_string(Hidden) + ")");
    }
};

class MemoryTextFile : public TextFile {
public:
    std::map<std::string, std::string> Files;
    bool FailOpen = false;
    int WritesBeforeFailure = -1;  // negative: writes never fail
    bool IsOpen() const { return open_; }

    bool Open(const std::string& fileName, long flags) override {
        if (FailOpen || open_) return false;
        if (flags == 1) {
            if (!Files.count(fileName)) return false;
        } else {
            Files[fileName].clear();
        }
        name_ = fileName;
        pos_ = 0;
        open_ = true;
        return true;
    }
    void Close() override { open_ = false; }
    bool CheckExists(const std::string& fileName) override { return Files.count(fileName) != 0; }
    bool WriteString(const std::string& text) override { return Write(text); }
    bool PutBR() override { return Write("\r\n"); }
    bool ReadString(std::string& line) override {
        line.clear();
        if (!open_) return false;
        const std::string& f = Files[name_];
        if (pos_ >= f.size()) return false;
        size_t end = f.find('\n', pos_);
        if (end == std::string::npos) end = f.size();
        line = f.substr(pos_, end - pos_);
        pos_ = end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
        return true;
    }

private:
    bool Write(const std::string& text) {
        if (!open_ || WritesBeforeFailure == 0) return false;
        if (WritesBeforeFailure > 0) --WritesBeforeFailure;
        Files[name_] += text;
        return true;
    }

    std::string name_;
    size_t pos_ = 0;
    bool open_ = false;
};
