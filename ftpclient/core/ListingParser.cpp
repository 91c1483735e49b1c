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
    // A name needs a mode string before it: other lines would make up rows.
    if (highest < 1 || !IsUnixModeString(fields[0])) return false;
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
        size_t next = Text.find('\n', i);
        if (next == std::string::npos) next = Text.size();
        size_t end = next;
        if (end > i && Text[end - 1] == '\r') --end;
        TListingEntry e;
        if (ParseLine(Text.substr(i, end - i), e)) out.push_back(std::move(e));
        i = next + 1;
    }
    return out;
}

bool IsUnixModeString(const std::string& Field) {
    static const char kTypes[] = "-BCDLPSW";
    static const char kModes[] = "-rwxsStTlL";
    if (Field.size() != 10 && !(Field.size() == 11 && std::strchr("+.@", Field[10]))) return false;
    if (!std::strchr(kTypes, UpperChar(Field[0]))) return false;
    for (size_t i = 1; i < 10; ++i)
        if (!std::strchr(kModes, Field[i])) return false;
    return true;
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

std::vector<TListingEntry> BuildRemoteRows(const std::string& Text, TLinkProber& Prober,
                                           const TNameCollation& Collation) {
    std::vector<TListingEntry> rows = TListingParser::Parse(Text);
    bool begun = false;
    for (TListingEntry& e : rows) {
        if (!IsLinkRow(e)) continue;
        if (!begun) Prober.BeginProbes();
        begun = true;
        ApplyLinkProbe(e, Prober.ProbeSize(e.Name));
    }
    AddMissingDotRows(rows);
    SortRemoteRows(rows, Collation);
    return rows;
}

int TByteCollation::Compare(const std::string& A, const std::string& B) const {
    return A.compare(B);  // unsigned bytes, as its keys compare
}

const TByteCollation& TByteCollation::Instance() {
    static const TByteCollation instance;
    return instance;
}

bool RemoteRowLess(const TListingEntry& A, const TListingEntry& B, const TNameCollation& Collation) {
    int ra = DotRank(A.Name), rb = DotRank(B.Name);
    if (ra != rb) return ra < rb;
    bool fa = IsFolderRow(A), fb = IsFolderRow(B);
    if (fa != fb) return fa;
    int c = Collation.Compare(A.Name, B.Name);
    return c != 0 ? c < 0 : A.Name < B.Name;
}

namespace {

// What a row sorts by, made once per row.
struct TListingSortItem {
    int Rank;  // ".", "..", folders, files
    std::string Key;
    size_t Index;
};

}  // namespace

void SortRemoteRows(std::vector<TListingEntry>& Rows, const TNameCollation& Collation) {
    std::vector<TListingSortItem> items;
    items.reserve(Rows.size());
    for (size_t i = 0; i < Rows.size(); ++i) {
        const TListingEntry& r = Rows[i];
        int rank = DotRank(r.Name);
        if (rank == 2 && !IsFolderRow(r)) rank = 3;
        items.push_back(TListingSortItem{rank, rank < 2 ? std::string() : Collation.SortKey(r.Name), i});
    }
    std::sort(items.begin(), items.end(), [&Rows](const TListingSortItem& a, const TListingSortItem& b) {
        if (a.Rank != b.Rank) return a.Rank < b.Rank;
        if (int c = a.Key.compare(b.Key)) return c < 0;
        const std::string &na = Rows[a.Index].Name, &nb = Rows[b.Index].Name;
        if (na != nb) return na < nb;
        return a.Index < b.Index;
    });
    std::vector<TListingEntry> sorted;
    sorted.reserve(Rows.size());
    for (const TListingSortItem& it : items) sorted.push_back(std::move(Rows[it.Index]));
    Rows.swap(sorted);
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
