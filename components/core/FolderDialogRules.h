// The folder dialog's option rules and path clean-up, without a window.
#pragma once

#include <cstdint>
#include <string>

enum TFolderDialogOption {
    bfFileSysDirsOnly, bfDontGoBelowDomain, bfStatusText, bfFileSysAncestors, bfBrowseForComputer,
    bfBrowseForPrinter, bfBrowseIncludeFiles, bfShowPathInStatusArea, bfSyncCustomButton, bfAlignCustomButton,
    bfScreenCenter, bfParentCenter, bfResizeCustomButton
};
using TFolderDialogOptions = uint16_t;
constexpr TFolderDialogOptions Opt(TFolderDialogOption o) { return static_cast<TFolderDialogOptions>(1u << o); }
constexpr TFolderDialogOptions kDefaultFolderOptions =
    Opt(bfFileSysDirsOnly) | Opt(bfStatusText) | Opt(bfShowPathInStatusArea) | Opt(bfSyncCustomButton) |
    Opt(bfAlignCustomButton) | Opt(bfParentCenter);

// What Options becomes when `wanted` is assigned over `current`.
TFolderDialogOptions ApplyFolderOptions(TFolderDialogOptions current, TFolderDialogOptions wanted);
// A trailing "\." names the folder itself: "X:\." -> "X:\", "C:\a\." -> "C:\a\".
std::string TrimDotPath(const std::string& path);
