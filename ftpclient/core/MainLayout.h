// Where the main window's status bar parts and pane controls go when a
// panel changes size. No platform headers.
#pragma once

#include <vector>

struct TPaneRect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const TPaneRect& o) const {
        return Left == o.Left && Top == o.Top && Width == o.Width && Height == o.Height;
    }
};

struct TStatusBarLayout {
    int HintWidth = 0;              // panel 0
    TPaneRect Progress;           // pbTransferStatus on panel 1
    TPaneRect ConnectedLight;     // imgConnectedOn / imgConnectedOff
    TPaneRect DisconnectedLight;  // imgDisconnectedOn / imgDisconnectedOff
};

// Panel 0 takes what panels 1 to 3 leave of the bar; the progress bar and the
// lights sit centred in the bar's height on their panels.
TStatusBarLayout LayoutStatusBar(int BarWidth, int ClientWidth, int ClientHeight, const int PanelWidths[4],
                                 int ProgressHeight, int LightSize);

// A pane's controls stacked below its label: each starts at the label's left,
// is as wide as the client width less that left and 4, sits 2 pixels below
// the one above; the last one reaches 3 pixels above the bottom. Heights are
// the controls' own below the label (the last one's is not used); the result
// holds the label first.
std::vector<TPaneRect> StackBelowLabel(const TPaneRect& Label, int ClientWidth, int ClientHeight,
                                         const std::vector<int>& Heights);

// The folder list's height when it and the file list below it share Room
// pixels: as designed while the file list keeps 100, else no more than half.
int SharedListHeight(int Room, int Designed);

// The advertising label spans its panel less its left margin on both sides.
int AdLabelWidth(int ClientWidth, int LabelLeft);
