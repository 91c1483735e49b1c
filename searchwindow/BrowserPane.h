// The window's browser pane (the platform here has no HTML engine): loads
// file:// and http:// addresses and shows the page as readable text, its
// title and its links, which a double click follows.
#pragma once

#include <functional>
#include <string>

#include "searchwindow/SysControl.h"
#include "searchwindow/core/PageText.h"
#include "ui/StdCtrls.h"

class TBrowserPane : public TPanel {
public:
    explicit TBrowserPane(TWinControl* parent);

    void Navigate(const std::string& address);
    void GoBack();
    void GoForward();
    void Stop() {}  // loads are synchronous: nothing is ever under way
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
    static bool Fetch(const std::string& address, std::string& bytes);

private:
    bool Load(const std::string& address);
    TLabel* title_;
    TEdit* text_;
    TListViewBox* links_;
    bool columns_ = false;
    BrowserHistory history_;
    ReadablePage page_;
};
