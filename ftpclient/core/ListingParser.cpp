#include "ftpclient/core/ListingParser.h"

#include <algorithm>
#include <cstring>

#include "runtime/core/SysUtils.h"

namespace {

const int NameField = 8;

bool IsSeparator(char c) { return c == ' ' || c == '\r' || c == '\n'; }

char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

char TypeChar(const TListingEntry& e) { return e.Permissions.empty() ? '\0' : UpperChar(e.Permissions[0]); }

int DotRank(const std::string& name) {
    if (name == ".") return 0;
    if (name == "..") return 1;
    return 2;
}

}  // namespace

bool TListingParser::ParseLine(const std::string& Line, TListingEntry& Out) {
    if (Line.empty()) return false;
    if (Line.size() >= 6 && UpperCase(Line.substr(0, 6)) == "TOTAL ") return false;
    std::string fields[NameField + 1];
    int j = 0;
    int highest = -1;
    bool inField = true;
    for (char c : Line) {
        if (j < NameField && IsSeparator(c)) {
            // Only the first separator of a run ends a field; the eighth one
            // ends the date, and every byte after it belongs to the name.
            if (inField) {
                ++j;
                inField = false;
            }
            continue;
        }
        fields[j] += c;
        inField = true;
        highest = std::max(highest, j);
    }
    if (highest < 0) return false;
    Out = TListingEntry();
    Out.Name = fields[highest];
    Out.Permissions = fields[0];
    Out.Owner = fields[2];
    Out.Group = fields[3];
    Out.SizeText = fields[4];
    Out.DateText = fields[5] + " " + fields[6] + " " + fields[7];
    if (TypeChar(Out) == 'L') {
        size_t arrow = Out.Name.find(" -> ");
        if (arrow != std::string::npos) {
            Out.LinkTarget = Out.Name.substr(arrow + 4);
            Out.Name.erase(arrow);
        }
    }
    return true;
}

std::vector<TListingEntry> TListingParser::Parse(const std::string& Text) {
    std::vector<TListingEntry> out;
    size_t i = 0;
    while (i < Text.size()) {
        size_t end = Text.find_first_of("\r\n", i);
        if (end == std::string::npos) end = Text.size();
        TListingEntry e;
        if (ParseLine(Text.substr(i, end - i), e)) out.push_back(std::move(e));
        i = end;
        if (i < Text.size() && Text[i] == '\r') ++i;
        if (i < Text.size() && Text[i] == '\n') ++i;
    }
    return out;
}

bool IsFolderRow(const TListingEntry& Entry) { return TypeChar(Entry) == 'D' || IsDotRow(Entry.Name); }

bool IsLinkRow(const TListingEntry& Entry) { return TypeChar(Entry) == 'L'; }

bool IsDotRow(const std::string& Name) { return Name == "." || Name == ".."; }

int64_t SizeOfText(const std::string& SizeText) {
    if (SizeText.empty() || SizeText.size() > 19) return 0;
    int64_t v = 0;
    for (char c : SizeText) {
        if (c < '0' || c > '9') return 0;
        int d = c - '0';
        if (v > (INT64_MAX - d) / 10) return 0;
        v = v * 10 + d;
    }
    return v;
}

void ApplyLinkProbe(TListingEntry& Entry, const TLinkProbe& Probe) {
    if (Entry.Permissions.empty()) Entry.Permissions = "l";
    if (Probe.ReplyCode == 213) {
        Entry.Permissions[0] = '-';
        Entry.SizeText = IntToStr(Probe.Size < 0 ? 0 : Probe.Size);
    } else {
        Entry.Permissions[0] = 'd';
    }
}

void AddMissingDotRows(std::vector<TListingEntry>& Entries) {
    for (const char* dot : {".", ".."}) {
        bool present = std::any_of(Entries.begin(), Entries.end(),
                                   [&](const TListingEntry& e) { return e.Name == dot; });
        if (present) continue;
        TListingEntry e;
        e.Name = dot;
        e.Permissions = "drwxrwxrwx";
        Entries.push_back(e);
    }
}

std::vector<TListingEntry> BuildRemoteRows(const std::string& Text, TLinkProber& Prober) {
    std::vector<TListingEntry> rows = TListingParser::Parse(Text);
    bool begun = false;
    for (TListingEntry& e : rows) {
        if (!IsLinkRow(e)) continue;
        if (!begun) Prober.BeginProbes();
        begun = true;
        ApplyLinkProbe(e, Prober.ProbeSize(e.Name));
    }
    AddMissingDotRows(rows);
    std::stable_sort(rows.begin(), rows.end(), RemoteRowLess);
    return rows;
}

bool RemoteRowLess(const TListingEntry& A, const TListingEntry& B) {
    int ra = DotRank(A.Name), rb = DotRank(B.Name);
    if (ra != rb) return ra < rb;
    bool fa = IsFolderRow(A), fb = IsFolderRow(B);
    if (fa != fb) return fa;
    return std::strcmp(A.Name.c_str(), B.Name.c_str()) < 0;
}

std::string RowExtension(const TListingEntry& Entry) {
    const std::string& name = Entry.LinkTarget.empty() ? Entry.Name : Entry.LinkTarget;
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string FileTypeText(const std::string& Extension) {
    std::string ext = Extension;
    if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    return UpperCase(ext) + " File";
}

std::string FileIconKey(const std::string& Extension) {
    return std::string(1, '\2') + (SameText(Extension, ".exe") ? std::string(".com") : Extension);
}
