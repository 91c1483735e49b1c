#include "InfoAddress.h"

#include <cstring>

namespace {

const char kFileScheme[] = "file:";

bool IsSchemeChar(char c, bool first) {
    bool alpha = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (first) return alpha;
    return alpha || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// Removes "." and ".." segments from a path whose separators are already "/"
// and whose runs of "/" are single. With host set, the first segment (host,
// drive) is kept and never climbed over; a rooted path never climbs above its
// root; a relative path keeps the ".." it cannot consume, so it can still be
// resolved later.
std::string RemoveDotSegments(const std::string& path, bool host) {
    struct Seg {
        size_t at, len;
    };
    const bool rooted = !path.empty() && path[0] == '/';
    std::vector<Seg> segs;
    size_t i = rooted ? 1 : 0;
    size_t headLen = 0;
    bool haveHead = false;
    if (host && !rooted) {
        size_t e = path.find('/');
        headLen = e == std::string::npos ? path.size() : e;
        haveHead = true;
        i = (e == std::string::npos) ? path.size() + 1 : e + 1;
    }
    auto is = [&](const Seg& g, const char* t, size_t n) { return g.len == n && path.compare(g.at, n, t) == 0; };
    bool trailing = false;
    while (i <= path.size()) {
        size_t e = path.find('/', i);
        if (e == std::string::npos) e = path.size();
        Seg g{i, e - i};
        if (is(g, ".", 1)) {
            trailing = true;
        } else if (is(g, "..", 2)) {
            if (!segs.empty() && !is(segs.back(), "..", 2)) segs.pop_back();
            else if (!rooted && !haveHead) segs.push_back(g);
            trailing = true;
        } else if (g.len == 0) {
            trailing = e >= path.size();  // only a final "/" leaves an empty segment
        } else {
            segs.push_back(g);
            trailing = false;
        }
        i = e + 1;
    }
    std::string out;
    out.reserve(path.size() + 2);
    if (haveHead) out.append(path, 0, headLen);
    if (rooted || (haveHead && (!segs.empty() || trailing))) out += '/';
    for (size_t k = 0; k < segs.size(); ++k) {
        if (k) out += '/';
        out.append(path, segs[k].at, segs[k].len);
    }
    if (trailing && !segs.empty()) out += '/';
    if (out.empty() && !path.empty() && !haveHead) return "./";
    return out;
}

// Backslashes become "/", runs of "/" one "/", dot segments go. Only the
// part before "?" or "#" is a path; query and fragment are kept as they are.
std::string Normalise(const std::string& text, long index) {
    size_t cut = text.find_first_of("?#");
    std::string path = text.substr(0, cut);
    std::string rest = cut == std::string::npos ? std::string() : text.substr(cut);
    for (char& c : path)
        if (c == '\\') c = '/';

    std::string head;
    bool host = index > 0;
    if (index == 0) {
        size_t s = SchemeLength(path);
        head = path.substr(0, s);
        path.erase(0, s);
        if (path.compare(0, 2, "//") == 0) {
            // a network-path reference ("//host/x") keeps its "//"
            head += "//";
            size_t k = 2;
            while (k < path.size() && path[k] == '/') ++k;
            path.erase(0, k);
            host = true;
        } else if (s > 0) {
            host = true;
        }
    }
    std::string single;
    single.reserve(path.size());
    for (char c : path)
        if (!(c == '/' && !single.empty() && single.back() == '/')) single += c;
    if (single.empty()) return head + rest;
    return head + RemoveDotSegments(single, host) + rest;
}

// The path up to "?" or "#".
std::string PathPart(const std::string& p) { return p.substr(0, p.find_first_of("?#")); }

}  // namespace

long StartsWithNoCase(const std::string& text, const std::string& prefix) {
    if (text.empty() || prefix.empty() || text.size() < prefix.size()) return 0;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (UpperChar(text[i]) != UpperChar(prefix[i])) return 0;
    return 1;
}

std::string AddressHost(const std::string& address) {
    size_t p = address.find("//");
    if (p == std::string::npos) return std::string();
    p += 2;
    size_t e = address.find_first_of(" /\\", p);
    return address.substr(p, e == std::string::npos ? std::string::npos : e - p);
}

std::string AddressDisplay(const std::string& address) {
    size_t p = address.find_last_of("/\\");
    return p == std::string::npos ? address : address.substr(p + 1);
}

size_t SchemeLength(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && IsSchemeChar(text[i], i == 0)) ++i;
    if (i >= 2 && i < text.size() && text[i] == ':') return i + 1;
    return 0;
}

bool IsFileScheme(const std::string& text) {
    return SchemeLength(text) == sizeof kFileScheme - 1 && StartsWithNoCase(text, kFileScheme);
}

bool IsLocalAddress(const InfoAddress& a, const ProtocolStrings& protocols) {
    long i = a.ProtocolIndex();
    if (i > 0) return i < static_cast<long>(protocols.size()) && StartsWithNoCase(protocols[i], kFileScheme);
    if (i != 0 || a.Path().empty()) return false;
    // Any spelling of the file scheme counts, listed or not ("file:/x", "file:%2F...").
    if (SchemeLength(a.Path()) > 0) return IsFileScheme(a.Path());
    return a.Path().compare(0, 2, "//") != 0;
}

bool OpensLocally(const std::string& address, const ProtocolStrings& protocols) {
    return IsLocalAddress(InfoAddress(address, protocols).Resolved(), protocols);
}

InfoAddress::InfoAddress(const std::string& text, const ProtocolStrings& protocols, const InfoAddress* parent)
    : parent_(parent) {
    if (text.empty()) {
        index_ = -1;
        return;
    }
    index_ = 0;
    // Backslashes are turned before the protocol is looked for, so that
    // "file:\\x" and "file:/\\x" name the protocol that they will open as.
    std::string slashed = text;
    for (char& c : slashed)
        if (c == '\\') c = '/';
    path_ = text;
    for (size_t i = 1; i < protocols.size(); ++i) {
        if (StartsWithNoCase(slashed, protocols[i])) {
            index_ = static_cast<long>(i);
            path_ = text.substr(protocols[i].size());
            break;
        }
    }
    path_ = Normalise(path_, index_);
}

InfoAddress::InfoAddress(const std::string& path, long protocolIndex, const InfoAddress* parent)
    : index_(protocolIndex), path_(Normalise(path, protocolIndex < 0 ? 0 : protocolIndex)), parent_(parent) {}

std::string InfoAddress::FullAddress(const ProtocolStrings& protocols) const {
    if (index_ <= 0) return path_;
    if (index_ >= static_cast<long>(protocols.size())) return path_;
    return protocols[index_] + path_;
}

InfoAddress InfoAddress::Directory() const {
    if (index_ <= 0 || path_.empty()) {
        if (parent_) return parent_->Directory();
        return InfoAddress();
    }
    std::string p = PathPart(path_);
    std::string d;
    size_t first = p.find_first_of(" /\\");
    if (first != std::string::npos && p[first] == ' ') {
        d = p.substr(0, first) + "/";
    } else if (first != std::string::npos && first + 1 < p.size()) {
        d = p.substr(0, p.find_last_of("/\\")) + "/";
    } else {
        d = p + "/";
    }
    return InfoAddress(d, index_, parent_);
}

InfoAddress InfoAddress::Resolved() const {
    if (index_ != 0) return *this;  // a copy; -1 stays empty
    if (!parent_ || SchemeLength(path_) > 0) return *this;
    InfoAddress base = parent_->Resolved();
    const std::string& b = base.path_;
    long bi = base.index_ < 0 ? 0 : base.index_;
    std::string merged;
    if (path_.compare(0, 2, "//") == 0) {
        merged = bi > 0 ? path_.substr(2) : path_;
    } else if (!path_.empty() && path_[0] == '/') {
        // "/x" is taken from the host (or drive) of the base, not its folder
        std::string bp = PathPart(b);
        std::string host = (bi > 0 && !(bp.size() && bp[0] == '/')) ? bp.substr(0, bp.find('/')) : std::string();
        merged = host + path_;
    } else if (path_.empty()) {
        merged = b.substr(0, b.find('#'));
    } else if (path_[0] == '?') {
        merged = PathPart(b) + path_;
    } else if (path_[0] == '#') {
        merged = b.substr(0, b.find('#')) + path_;
    } else {
        InfoAddress dir = (base.index_ > 0 && !b.empty()) ? base.Directory() : InfoAddress(PathPart(b), bi, nullptr);
        std::string d = dir.path_;
        if (base.index_ <= 0) {
            size_t slash = d.find_last_of('/');
            d = slash == std::string::npos ? std::string() : d.substr(0, slash + 1);
        }
        merged = d + path_;
    }
    InfoAddress r(merged, bi, base.parent_);
    r.index_ = base.index_ < 0 ? 0 : base.index_;
    return r;
}
