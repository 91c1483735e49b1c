// What the search window enables in each state of a run, and its captions.
#pragma once

#include <string>

enum class SearchRunState { Idle, Running, Suspended, Stopping };

struct RunControls {
    std::string StartCaption;
    std::string StartToolTip;
    bool StartEnabled = true;
    bool MergeEnabled = true;
    // Template toolbar: New, Open, Cut and Paste follow the run; Save and
    // Copy stay usable.
    bool MaskNewOpenCutPaste = true;
    bool ProtocolBoxes = true;
    bool ChannelCount = true;
    bool FormatTable = true;
    bool SuspendBox = false;
    std::string SuspendCaption;
    std::string SuspendToolTip;
    const char* StatusText = nullptr;  // nullptr: left as it is
};

RunControls ControlsFor(SearchRunState state);
