// Dispatch of the two toolbars: buttons and drop-down entries by Key,
// run-time entries by Tag.
#pragma once

#include <cstdint>
#include <string>

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

const char* const kNotAllowedText = "Not allowed while search is in prgress";
