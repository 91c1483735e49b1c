#include "ftpclient/core/ServerList.h"

#include <algorithm>

#include "ftpclient/core/CustomIniFile.h"
#include "runtime/core/SysUtils.h"

namespace {

std::string SectionName(int n) { return "Server" + IntToStr(n); }

int ClampCount(int n) { return std::max(0, std::min(n, TServerList::MaxSites)); }

}  // namespace

int TServerList::IndexOf(const std::string& Name) const {
    for (size_t i = 0; i < sites_.size(); ++i)
        if (SameText(sites_[i].Name, Name)) return static_cast<int>(i);
    return -1;
}

int TServerList::IndexOfMenuTag(int32_t Tag) const {
    if (Tag < FirstMenuTag) return -1;
    for (size_t i = 0; i < sites_.size(); ++i)
        if (sites_[i].MenuTag == Tag) return static_cast<int>(i);
    return -1;
}

std::string TServerList::DuplicateMessage(const std::string& Name) {
    return "There is already a FTP Server named \"" + Name + "\". Please choose another name.";
}

bool TServerList::Add(const TFTPServer& Site, std::string& Message) {
    if (Site.Name.empty()) {
        Message = "You must enter a name for this FTP Server";
        return false;
    }
    if (IndexOf(Site.Name) >= 0) {
        Message = DuplicateMessage(Site.Name);
        return false;
    }
    InsertSorted(Site);
    Changed();
    return true;
}

bool TServerList::Update(int i, const TFTPServer& Site, std::string& Message) {
    if (i < 0 || i >= Count()) {
        Message = "No such FTP Server.";
        return false;
    }
    if (Site.Name.empty()) {
        Message = "You must enter a name for this FTP Server";
        return false;
    }
    int other = IndexOf(Site.Name);
    if (other >= 0 && other != i) {
        Message = DuplicateMessage(Site.Name);
        return false;
    }
    sites_.erase(sites_.begin() + i);
    InsertSorted(Site);
    Changed();
    return true;
}

void TServerList::Remove(int i) {
    if (i < 0 || i >= Count()) return;
    sites_.erase(sites_.begin() + i);
    Changed();
}

void TServerList::Clear() { sites_.clear(); }

int TServerList::InsertSorted(const TFTPServer& Site) {
    auto at = std::upper_bound(sites_.begin(), sites_.end(), Site, [](const TFTPServer& a, const TFTPServer& b) {
        return CompareText(a.Name, b.Name) < 0;
    });
    return static_cast<int>(sites_.insert(at, Site) - sites_.begin());
}

void TServerList::Changed() {
    if (OnChange) OnChange();
}

std::vector<TServerMenuItem> TServerList::BuildMenu() {
    std::vector<TServerMenuItem> items;
    for (size_t i = 0; i < sites_.size(); ++i) {
        int32_t tag = FirstMenuTag + static_cast<int32_t>(i);
        sites_[i].MenuTag = tag;
        items.push_back(TServerMenuItem{IntToStr(static_cast<int64_t>(i) + 1) + ". " + sites_[i].Name, tag});
    }
    return items;
}

void TServerList::ClearMenuTags() {
    for (TFTPServer& s : sites_) s.MenuTag = 0;
}

TSiteFileGeneral TServerList::Load(TCustomIniFile& Ini) {
    TSiteFileGeneral general;
    Ini.WriteString("General", "Temp", "Temp");
    int count = ClampCount(Ini.ReadInteger("General", "Count", 0));
    general.Sync = Ini.ReadBool("General", "Sync", true);
    general.FTPTimeOut = Ini.ReadInteger("General", "FTPTimeOut", 30);
    for (int n = 1; n <= count; ++n) {
        TFTPServer site;
        site.LoadFromIni(Ini, SectionName(n));
        // A second site of an equal name is dropped, as the sorted list does.
        if (!site.Name.empty() && IndexOf(site.Name) < 0) InsertSorted(site);
    }
    return general;
}

bool TServerList::Save(TCustomIniFile& Ini, const TScrambleOffsets& Offsets) const {
    int oldCount = ClampCount(Ini.ReadInteger("General", "Count", 0));
    if (!Ini.WriteInteger("General", "Count", Count())) return false;
    for (int n = 1; n <= Count(); ++n)
        if (!sites_[static_cast<size_t>(n - 1)].SaveToIni(Ini, SectionName(n), Offsets)) return false;
    for (int n = Count() + 1; n <= oldCount; ++n)
        if (!Ini.EraseSection(SectionName(n))) return false;
    return true;
}
