#include "searchwindow/core/PageText.h"

#include <cctype>

namespace {
// Marks a paragraph break in the gathered text; line ends in the source are blanks.
constexpr char kBreak = '\x01';

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Entities(const std::string& s) {
    static const std::pair<const char*, const char*> kNames[] = {
        {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&nbsp;", " "}, {"&#39;", "'"}};
    std::string out;
    for (size_t i = 0; i < s.size();) {
        bool done = false;
        if (s[i] == '&')
            for (const auto& n : kNames) {
                const std::string name = n.first;
                if (s.compare(i, name.size(), name) == 0) {
                    out += n.second;
                    i += name.size();
                    done = true;
                    break;
                }
            }
        if (!done) out += s[i++];
    }
    return out;
}

// Blanks and line breaks folded to one blank, ends trimmed.
std::string Fold(const std::string& s) {
    std::string out;
    for (char c : s) {
        const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (blank) {
            if (!out.empty() && out.back() != ' ') out += ' ';
        } else {
            out += c;
        }
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return Entities(out);
}

// The value of attribute name inside a tag's text, quoted or not.
std::string Attribute(const std::string& tag, const std::string& name) {
    const std::string low = Lower(tag);
    size_t at = 0;
    while ((at = low.find(name, at)) != std::string::npos) {
        const bool startsWord = at > 0 && std::isspace(static_cast<unsigned char>(low[at - 1]));
        size_t p = at + name.size();
        while (p < low.size() && low[p] == ' ') ++p;
        if (!startsWord || p >= low.size() || low[p] != '=') {
            at += name.size();
            continue;
        }
        ++p;
        while (p < low.size() && low[p] == ' ') ++p;
        if (p < tag.size() && (tag[p] == '"' || tag[p] == '\'')) {
            const size_t end = tag.find(tag[p], p + 1);
            return tag.substr(p + 1, end == std::string::npos ? std::string::npos : end - p - 1);
        }
        size_t end = p;
        while (end < tag.size() && !std::isspace(static_cast<unsigned char>(tag[end])) && tag[end] != '>') ++end;
        return tag.substr(p, end - p);
    }
    return "";
}

bool BreaksLine(const std::string& name) {
    for (const char* n : {"p", "/p", "br", "div", "/div", "li", "tr", "h1", "h2", "h3", "/h1", "/h2", "/h3", "hr"})
        if (name == n) return true;
    return false;
}
}  // namespace

std::string ResolveLink(const std::string& base, const std::string& href) {
    if (href.find("://") != std::string::npos || Lower(href.substr(0, 7)) == "mailto:") return href;
    const size_t scheme = base.find("://");
    if (scheme == std::string::npos) return href;
    const size_t hostEnd = base.find('/', scheme + 3);
    const std::string root = hostEnd == std::string::npos ? base : base.substr(0, hostEnd);
    if (!href.empty() && href[0] == '/') return root + href;
    std::string folder = base.substr(0, base.rfind('/') + 1);
    if (folder.size() < root.size() + 1) folder = root + "/";
    std::string rest = href;
    while (rest.compare(0, 3, "../") == 0) {
        rest.erase(0, 3);
        const size_t cut = folder.rfind('/', folder.size() - 2);
        if (cut != std::string::npos && cut + 1 > root.size()) folder.erase(cut + 1);
    }
    while (rest.compare(0, 2, "./") == 0) rest.erase(0, 2);
    return folder + rest;
}

ReadablePage ParsePage(const std::string& html, const std::string& address) {
    ReadablePage page;
    std::string text, linkText, linkHref, title;
    bool inTitle = false, inLink = false, skip = false;
    for (size_t i = 0; i < html.size();) {
        if (html[i] != '<') {
            const size_t next = html.find('<', i);
            const std::string run = html.substr(i, next == std::string::npos ? std::string::npos : next - i);
            if (inTitle) title += run;
            else if (!skip) text += run;
            if (inLink) linkText += run;
            if (next == std::string::npos) break;
            i = next;
            continue;
        }
        const size_t close = html.find('>', i);
        const std::string tag = html.substr(i + 1, close == std::string::npos ? std::string::npos : close - i - 1);
        i = close == std::string::npos ? html.size() : close + 1;
        std::string name = Lower(tag.substr(0, tag.find_first_of(" \t\r\n/", 1)));
        if (name == "title") inTitle = true;
        else if (name == "/title") inTitle = false;
        else if (name == "script" || name == "style") skip = true;
        else if (name == "/script" || name == "/style") skip = false;
        else if (name == "a") {
            linkHref = Attribute(tag, "href");
            linkText.clear();
            inLink = !linkHref.empty();
        } else if (name == "/a" && inLink) {
            page.Links.push_back({Fold(linkText), ResolveLink(address, linkHref)});
            inLink = false;
        }
        if (BreaksLine(name)) text += kBreak;
    }
    page.Title = Fold(title);
    // One folded line a paragraph.
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find(kBreak, start);
        const std::string line = Fold(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (!line.empty()) page.Text += (page.Text.empty() ? "" : "\r\n") + line;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return page;
}

void BrowserHistory::Visit(const std::string& address) {
    if (!entries_.empty()) entries_.resize(pos_ + 1);
    entries_.push_back(address);
    pos_ = entries_.size() - 1;
}

std::string BrowserHistory::Back() {
    if (!CanGoBack()) return "";
    return entries_[--pos_];
}

std::string BrowserHistory::Forward() {
    if (!CanGoForward()) return "";
    return entries_[++pos_];
}
