// What the window's own browser pane shows of a page: its title, its text
// without tags, and its links made absolute; and the pane's history.
#pragma once

#include <string>
#include <vector>

struct PageLink {
    std::string Text;
    std::string Address;
};

struct ReadablePage {
    std::string Title;
    std::string Text;  // paragraphs separated by CR LF
    std::vector<PageLink> Links;
};

ReadablePage ParsePage(const std::string& html, const std::string& address);
// href relative to the page at base: "b.htm", "../x", "/top", "http://..".
std::string ResolveLink(const std::string& base, const std::string& href);

class BrowserHistory {
public:
    // A new page after the current one; forward entries are dropped.
    void Visit(const std::string& address);
    bool CanGoBack() const { return pos_ > 0; }
    bool CanGoForward() const { return pos_ + 1 < entries_.size(); }
    std::string Back();     // the address to show; "" when there is none
    std::string Forward();
    std::string Current() const { return entries_.empty() ? "" : entries_[pos_]; }
    const std::vector<std::string>& Entries() const { return entries_; }

private:
    std::vector<std::string> entries_;
    size_t pos_ = 0;
};
