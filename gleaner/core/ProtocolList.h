// The address prefixes a channel or search accepts, with the set of disabled
// entries. Shared by a channel and its downloader across threads, so every
// member takes the list's own lock. No platform headers.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "InfoAddress.h"

class ProtocolList {
public:
    ProtocolList() = default;

    void AddProtocol(const std::string& protocol);     // appended when no equal entry exists
    void RemoveProtocol(const std::string& protocol);  // every equal entry
    void EmptyProtocols();                             // the disabled indices stay
    void DisableProtocol(const std::string& protocol); // listed and not yet disabled: index appended
    void EnableProtocol(const std::string& protocol);  // every occurrence of its index goes
    void EnableAllProtocols();
    long TestProtocol(const std::string& protocol) const;  // 0 when listed, else 1

    long IndexOf(const std::string& protocol) const;   // -1 when not listed (exact comparison)
    bool IsEnabled(long index) const;                  // index not in the disabled list
    ProtocolStrings Entries() const;                   // a snapshot
    std::vector<long> Disabled() const;

private:
    long IndexOfLocked(const std::string& protocol) const;

    mutable std::mutex m_;
    ProtocolStrings entries_;
    std::vector<long> disabled_;
};
