// The search window's layout in twips: the resize handler (tops and
// heights), ArrangePanes (lefts and widths around the vertical splitter) and
// the three splitters' drag handlers. Pure arithmetic over the controls'
// rectangles; the window copies them onto its controls.
#pragma once

struct PaneBox {
    float Left = 0, Top = 0, Width = 0, Height = 0;
    bool Visible = true;
    float Bottom() const { return Top + Height; }
};

struct WindowPanes {
    PaneBox pbProgress, TabStrip, MainStatusBar, tbMainToolbar;
    PaneBox StartButton, btnStartMerge, OpenFileButton, StartAddressCombo, lblPanelTitle;
    PaneBox VSplitBar1, FoundList, wbPromotion;
    PaneBox frmTbBrowser, ContentWebBrowser, HelpWebBrowser, frmToolbarFrame, MaskList;
    PaneBox ShowPropertiesList, HSplitBar1, PropertyContentList, HContentSplitBar, PropertyContentBrowser;
    PaneBox frmOptions;
    float StatusPanel1Left = 0, StatusPanel1Width = 0;
    float LastMainButtonRight = 0;  // Left + Width of the main toolbar's last button
};

struct LayoutConstants {
    float StartButtonMargin = 100, FrameAllowance = 700, ButtonGap = 5, PaneGap = 5;
    float MinPaneSize = 100;
    float FrameWidthAllowance = 100, ControlGap = 5;
};

// W and H: the window's outer size. Ends with ArrangePanes.
void ResizePanes(WindowPanes& p, float W, float H, const LayoutConstants& c = {});
void ArrangePanes(WindowPanes& p, float W, const LayoutConstants& c = {});
// Each returns false, changing nothing, when the drag would leave its bounds.
bool MoveHSplitBar1(WindowPanes& p, float d, const LayoutConstants& c = {});
bool MoveHContentSplitBar(WindowPanes& p, float d, const LayoutConstants& c = {});
// A browser template shows the content browser: the content splitter is put
// inside the Results panel's free area when it is not there (the first time,
// or after HSplitBar1 was dragged past it), and the list and browser around it.
void PlaceHContentSplitBar(WindowPanes& p, const LayoutConstants& c = {});
bool MoveVSplitBar1(WindowPanes& p, float xDelta, float W, const LayoutConstants& c = {});
