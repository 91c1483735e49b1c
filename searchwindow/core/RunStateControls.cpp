#include "searchwindow/core/RunStateControls.h"

RunControls ControlsFor(SearchRunState state) {
    RunControls c;
    const bool idle = state == SearchRunState::Idle;
    c.StartCaption = idle ? "   Start   " : "   Stop   ";
    c.StartToolTip = idle ? "Start search" : "Stop search";
    c.StartEnabled = state != SearchRunState::Stopping;
    c.MergeEnabled = idle;
    c.MaskNewOpenCutPaste = idle;
    c.ProtocolBoxes = idle;
    c.ChannelCount = idle;
    c.FormatTable = idle;
    c.SuspendBox = state == SearchRunState::Running || state == SearchRunState::Suspended;
    c.SuspendCaption = state == SearchRunState::Suspended ? "Resume" : "Suspend";
    c.SuspendToolTip = state == SearchRunState::Suspended ? "Resume process" : "Suspend process";
    if (idle) c.StatusText = "Complete";
    if (state == SearchRunState::Stopping) c.StatusText = "Finishing task...";
    return c;
}
