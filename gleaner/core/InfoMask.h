// One (mask, value) pair as the engine holds it, and one finding of a channel.
#pragma once

#include <string>

struct InfoMask {
    std::string MaskValue;  // the pattern
    std::string MaskName;
    std::string DependsOn;  // name of the parent mask, "" for a root mask
    long DependType = 0;    // 1 search after the parent's match, 2 inside it
    long Type = 0;          // 1, 2 and 4 name addresses; 3 is never searched as a root
    long Priority = 0;
    long MaxFound = -1;     // negative: no limit
    long CanCompile = 0;    // convert matches through the metaprocessor
    long Hidden = 0;
    // run counters, 0 at the start of every task
    size_t ResumePosition = 0;
    long FoundCount = 0;
    long ValueNumber = 0;
    size_t RetryAt = 0;  // a root mask waiting at its resume position goes on once the text is this long
};

// A mask as the engine stores it: Type and Priority kept at 0 when negative.
inline InfoMask MakeMask(const std::string& MaskName, const std::string& MaskValue, const std::string& DependsOn,
                         long Type, long DependType, long Priority, long MaxFound, long CanCompile, long Hidden) {
    InfoMask m;
    m.MaskName = MaskName;
    m.MaskValue = MaskValue;
    m.DependsOn = DependsOn;
    m.Type = Type < 0 ? 0 : Type;
    m.DependType = DependType;
    m.Priority = Priority < 0 ? 0 : Priority;
    m.MaxFound = MaxFound;
    m.CanCompile = CanCompile;
    m.Hidden = Hidden;
    return m;
}

struct InfoResult {
    std::string TaskName;
    std::string PropertyName;
    std::string Value;
    std::string DependName;
    long ResultID = 0;
    long DependID = -1;
};
