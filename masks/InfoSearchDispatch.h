// The engine's search object as the mask model calls it: by member name
// through IDispatch (late binding), never by its vtable.
#pragma once

#include "DispatchDriver.h"
#include "masks/core/InfoSearchCalls.h"

class InfoSearchDispatch : public InfoSearchCalls {
public:
    // A failing call throws EOleSysError naming the member.
    explicit InfoSearchDispatch(const TDispatchDriver& search) : search_(search) {}

    int32_t Status() override;
    void EmptyMasks() override;
    void AddMask(const std::string& MaskName, const std::string& MaskValue, const std::string& DependOn,
                 int32_t MaskType, int32_t DependType, int32_t Priority, int32_t MaxFoundCount, int32_t CanCompile,
                 int32_t Hidden) override;

private:
    TDispatchDriver search_;
};
