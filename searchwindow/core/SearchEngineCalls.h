// The members of the engine's search object that the search window calls,
// by name, on the engine server. The window implements this over its
// late-binding caller; tests record the calls.
#pragma once

#include <cstdint>
#include <string>

#include "masks/core/InfoSearchCalls.h"

class DatabaseCalls;

class SearchEngineCalls : public InfoSearchCalls {
public:
    virtual int32_t Create() = 0;
    virtual int32_t Destroy() = 0;
    virtual void SetThreadPriority(int32_t v) = 0;
    virtual int32_t ThreadPriority() = 0;
    virtual void SetPortionSize(int32_t v) = 0;
    virtual void SetPreloadSize(int32_t v) = 0;
    virtual void SetFileMul(int32_t v) = 0;
    virtual void SetMaxFound(int32_t v) = 0;
    virtual void SetMaxLevel(int32_t v) = 0;
    virtual void AddProtocol(const std::string& protocol) = 0;
    virtual void EnableProtocol(const std::string& protocol) = 0;
    virtual void DisableProtocol(const std::string& protocol) = 0;
    virtual int32_t LoadMetaprocessorTable(const std::string& address) = 0;
    virtual int32_t ProcessExternalLinks() = 0;
    virtual void SetProcessExternalLinks(int32_t v) = 0;
    // Creates a channel object by ProgID, Creates it and attaches it.
    enum class ChannelResult { Attached, NoObject, NotCreated, Refused };
    virtual ChannelResult AttachNewChannel() = 0;
    virtual void TruncateChannels(int32_t count, int32_t autoDestroy) = 0;
    virtual int32_t ChannelCount() = 0;
    virtual int32_t Start(const std::string& address, DatabaseCalls& database) = 0;
    virtual void Stop() = 0;
    virtual void Suspend() = 0;
    virtual void Resume() = 0;
    virtual int32_t Traffic() = 0;
    virtual void ResetTraffic() = 0;
};
