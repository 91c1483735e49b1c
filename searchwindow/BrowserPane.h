// The window's browser pane (the platform here has no HTML engine): loads
// file:// and http:// addresses and shows the page as readable text, its
// title and its links, which a double click follows.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "searchwindow/SysControl.h"
#include "searchwindow/core/PageText.h"
#include "ui/StdCtrls.h"

struct BrowserFetchJob;

class TBrowserPane : public TPanel {
public:
    explicit TBrowserPane(TWinControl* parent);
    ~TBrowserPane() override;

    void Navigate(const std::string& address);
    void GoBack();
    void GoForward();
    // Ends a load under way (the page then cannot be shown).
    void Stop();
    bool Loading() const { return job_ != nullptr; }
    // An http:// load not done after this long ends (a silent or a trickling server).
    unsigned long LoadTimeoutMs = kLoadTimeoutMs;
    void Refresh();
    void GoHome() { Navigate(HomeAddress); }
    std::string HomeAddress;
    const BrowserHistory& History() const { return history_; }
    const ReadablePage& Page() const { return page_; }
    std::string LocationURL() const { return history_.Current(); }
    // Before a navigation: setting cancel keeps the page.
    std::function<void(const std::string& address, bool& cancel)> OnBeforeNavigate;
    std::function<void(const std::string& address)> OnNavigateComplete;
    // Follows link i of the page (0-based), as a double click does.
    void FollowLink(size_t i);
    void Resized() override;

    // The bytes of an address: a file or a WinINet request; false on failure.
    // At most kMaxPageBytes are read; a request ends after kLoadTimeoutMs
    // without an answer.
    static bool Fetch(const std::string& address, std::string& bytes);
    static constexpr size_t kMaxPageBytes = 8u << 20;
    static constexpr unsigned long kLoadTimeoutMs = 10000;

private:
    bool Load(const std::string& address);
    // Fetch, pumping messages while an http:// request is under way; superseded:
    // a newer load, or the pane's end, took over.
    bool FetchWaiting(const std::string& address, std::string& bytes, bool& superseded);
    std::shared_ptr<BrowserFetchJob> job_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    TLabel* title_;
    TEdit* text_;
    TListViewBox* links_;
    bool columns_ = false;
    BrowserHistory history_;
    ReadablePage page_;
};
