// The members of the engine's search object that the mask model calls. The
// engine is reached only by late binding (by member name); the window side
// implements this over its automation caller, tests record the calls.
#pragma once

#include <cstdint>
#include <string>

class InfoSearchCalls {
public:
    virtual ~InfoSearchCalls() = default;
    // 0 idle; anything else means a search is running or finishing.
    virtual int32_t Status() = 0;
    virtual void EmptyMasks() = 0;
    // Booleans travel as 32-bit integers: True -1, False 0.
    virtual void AddMask(const std::string& MaskName, const std::string& MaskValue, const std::string& DependOn,
                         int32_t MaskType, int32_t DependType, int32_t Priority, int32_t MaxFoundCount,
                         int32_t CanCompile, int32_t Hidden) = 0;
};
