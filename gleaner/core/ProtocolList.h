// The address prefixes a channel or search accepts, with the set of disabled
// prefixes. The disabled set is kept by prefix text, so removing or emptying
// entries never leaves it naming other entries. Shared by a channel and its
// downloader across threads, so every member takes the list's own lock.
// No platform headers.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "InfoAddress.h"

class ProtocolList {
public:
    ProtocolList() = default;

    void AddProtocol(const std::string& protocol);     // appended when no equal entry exists
    void RemoveProtocol(const std::string& protocol);  // every equal entry; a disabled prefix stays disabled
    void EmptyProtocols();                             // the disabled set stays
    void DisableProtocol(const std::string& protocol); // listed and not yet disabled: added to the set
    void EnableProtocol(const std::string& protocol);  // leaves the disabled set
    void EnableAllProtocols();
    long TestProtocol(const std::string& protocol) const;  // 0 when listed, else 1

    long IndexOf(const std::string& protocol) const;   // -1 when not listed (exact comparison)
    bool IsDisabled(const std::string& protocol) const;
    bool IsEnabled(long index) const;                  // the entry at index is not disabled
    ProtocolStrings Entries() const;                   // a snapshot
    std::vector<std::string> Disabled() const;         // in the order they were disabled

private:
    long IndexOfLocked(const std::string& protocol) const;

    mutable std::mutex m_;
    ProtocolStrings entries_;
    std::vector<std::string> disabled_;
};
