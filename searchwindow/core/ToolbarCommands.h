// Dispatch of the two toolbars: buttons and drop-down entries by Key,
// run-time entries by Tag.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "masks/core/MaskCollection.h"

enum class WindowCommand {
    None,
    NewSearch,  // asks to save first
    OpenSearch,
    SaveSearch,
    SaveSearchAs,
    MergeSearch,
    RebuildFoundList,
    FoundViewLarge,
    FoundViewSmall,
    FoundViewList,
    EditFilter,
    NewMask,
    OpenMask,
    SaveMaskAs,
    CutMasks,
    CopyMasks,
    PasteMasks,
    MaskViewLarge,
    MaskViewSmall,
    MaskViewList,
    DeleteMasks,
    NewAndMergeSearch,  // the found list's Ctrl+O: a merge into an emptied search
    ReportValues,
    ReportUniqueValues,
};

WindowCommand MainButtonCommand(const std::string& key);
WindowCommand MainMenuCommand(const std::string& key);
WindowCommand PropertyButtonCommand(const std::string& key);
// Refused with "Not allowed while search is in prgress" while a search runs.
bool RefusedWhileRunning(WindowCommand command);

struct TagAction {
    enum Kind { Nothing, SortAt, CaptionMask } kind = Nothing;
    int32_t Value = 0;  // the SortAt index, or the caption mask's index
};
// A drop-down entry's Tag: 0 to maskCount sorts, above it picks the caption
// mask; below 0 and beyond twice the count (no such entry) nothing.
TagAction MenuTagAction(int32_t tag, int32_t maskCount);

// The mask list's keys (Insert 45, Delete 46, C 67, V 86, X 88): Ctrl+Insert
// or Ctrl+C copy, Shift+Insert or Ctrl+V paste, Delete deletes, Ctrl+X cuts.
WindowCommand MaskListKeyCommand(uint16_t key, bool ctrl, bool shift);
// The found list's keys, only with Ctrl: 1, 2, 3 the views, C saves, N a new
// search, O a merge into an emptied search.
WindowCommand FoundListKeyCommand(uint16_t key, bool ctrl);

// One entry of a toolbar drop-down menu.
struct DropDownEntry {
    std::string Text;
    int32_t Tag = -1;
    std::string Key;  // "" for the entries made at run time
};
// The Sort menu: "As reseaved" (Tag 0), then each mask not hidden (Tag its
// index); "+  " marks the sort mask, or the first entry when there is none.
std::vector<DropDownEntry> SortMenuEntries(const MaskCollection& masks);
// The View menu's run-time entries after its five fixed ones: each mask not
// hidden, Tag Count + index; "+  " marks the caption mask.
std::vector<DropDownEntry> ViewMenuEntries(const MaskCollection& masks, const std::string& captionMaskName);
// The View menu's three view entries with the found list's mode marked.
std::vector<DropDownEntry> ViewModeEntries(int16_t mode);
// The whole drop-down of a main toolbar button ("Open", "Save", "View",
// "Sort"); none for the others.
std::vector<DropDownEntry> MainDropDownEntries(const std::string& buttonKey, const MaskCollection& masks,
                                               const std::string& captionMaskName, int16_t foundListView);

const char* const kNotAllowedText = "Not allowed while search is in prgress";
