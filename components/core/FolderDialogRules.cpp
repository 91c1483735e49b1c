#include "components/core/FolderDialogRules.h"

TFolderDialogOptions ApplyFolderOptions(TFolderDialogOptions current, TFolderDialogOptions v) {
    const TFolderDialogOptions screen = Opt(bfScreenCenter), parent = Opt(bfParentCenter);
    if ((v & screen) && (v & parent)) v &= static_cast<TFolderDialogOptions>(~(current & (screen | parent)));
    const auto added = [&](TFolderDialogOption o) { return (v & Opt(o)) && !(current & Opt(o)); };
    if (added(bfBrowseForComputer)) {
        v &= static_cast<TFolderDialogOptions>(~(Opt(bfFileSysDirsOnly) | Opt(bfFileSysAncestors) | Opt(bfBrowseForPrinter)));
    } else if (added(bfBrowseForPrinter)) {
        v &= static_cast<TFolderDialogOptions>(~(Opt(bfFileSysDirsOnly) | Opt(bfDontGoBelowDomain) |
                                                 Opt(bfFileSysAncestors) | Opt(bfBrowseForComputer)));
    }
    if (added(bfShowPathInStatusArea) && !(v & Opt(bfStatusText))) v |= Opt(bfStatusText);
    if ((current & Opt(bfStatusText)) && !(v & Opt(bfStatusText)) && (v & Opt(bfShowPathInStatusArea)))
        v &= static_cast<TFolderDialogOptions>(~Opt(bfShowPathInStatusArea));
    return v;
}

std::string TrimDotPath(const std::string& path) {
    if (path.size() >= 2 && path.compare(path.size() - 2, 2, "\\.") == 0) return path.substr(0, path.size() - 1);
    return path;
}
