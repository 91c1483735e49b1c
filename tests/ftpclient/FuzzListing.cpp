// Arbitrary bytes as a listing: every row must come from the text, and the
// rows' helpers must hold up whatever the fields are.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ftpclient/core/ClientUtils.h"
#include "ftpclient/core/FolderDownload.h"
#include "ftpclient/core/ListingParser.h"
#include "ftpclient/core/Permissions.h"

namespace {

class Prober : public TLinkProber {
public:
    int probes = 0;
    void BeginProbes() override {}
    TLinkProbe ProbeSize(const std::string& name) override {
        ++probes;
        return TLinkProbe{name.size() % 2 ? 213 : 550, static_cast<int64_t>(name.size())};
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    Prober prober;
    auto built = BuildRemoteRows(text, prober);
    for (auto& r : built)
        if (IsLinkRow(r)) abort();  // every link was decided
    auto rows = TListingParser::Parse(text);
    if (rows.size() > size) abort();
    for (auto& r : rows) {
        if (r.Name.size() + r.LinkTarget.size() > size) abort();
        if (SizeOfText(r.SizeText) < 0) abort();
        (void)FileIconKey(RowExtension(r));
        (void)FileTypeText(RowExtension(r));
        if (TPermissions::FromString(r.Permissions).ModeText().size() != 3) abort();
        (void)PlanChMod(r.Name, r.Permissions, TPermissions());
        std::string msg;
        (void)CheckRemoteNameForLocal(r.Name, msg);
        TListingEntry probed = r;
        ApplyLinkProbe(probed, TLinkProbe{size % 2 ? 213 : 550, static_cast<int64_t>(size)});
        if (probed.Permissions.empty()) abort();
    }
    AddMissingDotRows(rows);
    SortRemoteRows(rows, TByteCollation::Instance());
    // The sort on keys agrees with the row comparison.
    auto less = [](const TListingEntry& a, const TListingEntry& b) { return RemoteRowLess(a, b); };
    if (!std::is_sorted(rows.begin(), rows.end(), less)) abort();
    // A server may send "." twice; all of them still come before "..".
    size_t firstOther = 0;
    while (firstOther < rows.size() && rows[firstOther].Name == ".") ++firstOther;
    if (firstOther == 0 || firstOther >= rows.size() || rows[firstOther].Name != "..") abort();
    auto snap = SnapshotRows(rows);
    for (auto& e : snap)
        if (IsDotRow(e.Name)) abort();
    return 0;
}
