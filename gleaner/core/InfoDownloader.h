// Opens an address as a local file ("file://") or through the internet
// session, and reads it portion by portion into a growing buffer.
// No platform headers.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "InfoAddress.h"
#include "InfoObject.h"
#include "InternetSession.h"
#include "ProtocolList.h"

class InfoDownloader : public InfoObject {
public:
    explicit InfoDownloader(InternetSessionFactory sessionFactory = {});
    ~InfoDownloader() override;

    // protocols is the owner's list (not owned); 0 when already created.
    long Create(ProtocolList* protocols);
    long Create() override { return Create(nullptr); }
    long Destroy() override;

    long OpenAddress(const InfoAddress& address);  // 1 opened, 0 not
    long ReadPortion(std::string& buffer);         // bytes appended; 0 at the end or on an error
    long Close();                                  // 1 when something was open
    // From another thread: ends the document being opened or read. A read
    // blocked in the connection returns, the open or read in progress fails,
    // and nothing more is read until the next OpenAddress.
    void Abort();

    // The full address that link names, taken relative to base.
    static std::string Resolve(const std::string& link, const std::string& base, const ProtocolStrings& protocols);
    long TestProtocol(long index) const;  // 1 when the index is not disabled
    ProtocolStrings Protocols() const { return protocols_ ? protocols_->Entries() : ProtocolStrings(); }

    bool IsOpen() const { return open_.load(); }
    // 1 when the last document could not be read whole (it could not grow,
    // or memory ran out): it failed, it did not end.
    long Failed() const { return failed_.load(); }
    long Complete() const { return complete_.load(); }
    long HaveInternet() const { return internet_.load(); }
    long Traffic() const { return traffic_.load(); }
    void ResetTraffic() { traffic_ = 0; }

    std::atomic<long> PortionSize{1024};
    std::atomic<long> FileMul{1};
    std::atomic<long> Silent{0};
    std::atomic<long> Enabled{1};
    // The most a document may grow to; beyond it the document cannot grow.
    std::atomic<long long> MaxDocumentSize{kDefaultMaxDocument};
    static constexpr long long kDefaultMaxDocument = 512LL * 1024 * 1024;
    unsigned long OpenFlags = 1;  // ASCII transfer

    // Shows a message box (never while Silent); with retryCancel it asks
    // Retry/Cancel and returns true for Retry.
    std::function<bool(const std::string& text, const std::string& caption, bool retryCancel)> OnMessage;

    static const char* const kAgent;  // "My Session"

private:
    bool LocalAllowed(const InfoAddress& a, const ProtocolStrings& list) const;
    bool Grow(std::string& buffer, size_t by);
    bool Ask(const char* text, const char* caption, bool retryCancel);
    long CloseLocked();
    long ReadSome(char* to, long size);
    long ReadInto(std::string& buffer, size_t old, long long size);

    InternetSessionFactory factory_;
    std::unique_ptr<InternetSession> session_;
    ProtocolList* protocols_ = nullptr;
    std::mutex m_;  // open, read and close of one document
    std::mutex connM_;  // the connection and session pointers themselves, for Abort
    std::unique_ptr<InternetConnection> conn_;
    std::atomic<bool> aborted_{false};
    long openIndex_ = 0;
    bool local_ = false;
    char pending_ = 0;  // the byte read ahead
    bool havePending_ = false;
    std::atomic<bool> open_{false};
    std::atomic<long> complete_{0};
    std::atomic<long> internet_{0};
    std::atomic<long> traffic_{0};
    std::atomic<long> failed_{0};
};
