#include "ProtocolList.h"

#include <algorithm>

long ProtocolList::IndexOfLocked(const std::string& protocol) const {
    auto it = std::find(entries_.begin(), entries_.end(), protocol);
    return it == entries_.end() ? -1 : static_cast<long>(it - entries_.begin());
}

long ProtocolList::IndexOf(const std::string& protocol) const {
    std::lock_guard<std::mutex> l(m_);
    return IndexOfLocked(protocol);
}

void ProtocolList::AddProtocol(const std::string& protocol) {
    std::lock_guard<std::mutex> l(m_);
    if (IndexOfLocked(protocol) < 0) entries_.push_back(protocol);
}

void ProtocolList::RemoveProtocol(const std::string& protocol) {
    std::lock_guard<std::mutex> l(m_);
    entries_.erase(std::remove(entries_.begin(), entries_.end(), protocol), entries_.end());
}

void ProtocolList::EmptyProtocols() {
    std::lock_guard<std::mutex> l(m_);
    entries_.clear();
}

void ProtocolList::DisableProtocol(const std::string& protocol) {
    std::lock_guard<std::mutex> l(m_);
    if (IndexOfLocked(protocol) >= 0 && std::find(disabled_.begin(), disabled_.end(), protocol) == disabled_.end())
        disabled_.push_back(protocol);
}

void ProtocolList::EnableProtocol(const std::string& protocol) {
    std::lock_guard<std::mutex> l(m_);
    disabled_.erase(std::remove(disabled_.begin(), disabled_.end(), protocol), disabled_.end());
}

void ProtocolList::EnableAllProtocols() {
    std::lock_guard<std::mutex> l(m_);
    disabled_.clear();
}

long ProtocolList::TestProtocol(const std::string& protocol) const { return IndexOf(protocol) >= 0 ? 0 : 1; }

bool ProtocolList::IsDisabled(const std::string& protocol) const {
    std::lock_guard<std::mutex> l(m_);
    return std::find(disabled_.begin(), disabled_.end(), protocol) != disabled_.end();
}

bool ProtocolList::IsEnabled(long index) const {
    std::lock_guard<std::mutex> l(m_);
    if (index < 0 || index >= static_cast<long>(entries_.size())) return true;
    return std::find(disabled_.begin(), disabled_.end(), entries_[index]) == disabled_.end();
}

ProtocolStrings ProtocolList::Entries() const {
    std::lock_guard<std::mutex> l(m_);
    return entries_;
}

std::vector<std::string> ProtocolList::Disabled() const {
    std::lock_guard<std::mutex> l(m_);
    return disabled_;
}
