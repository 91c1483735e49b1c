#include "searchwindow/core/PaneLayout.h"

namespace {
float Max0(float x) { return x > 0 ? x : 0; }
// A width that would come out zero or negative is not applied.
void WidthWhenPositive(PaneBox& b, float w) {
    if (w > 0) b.Width = w;
}
}  // namespace

void ResizePanes(WindowPanes& p, float W, float H, const LayoutConstants& c) {
    const float status = p.MainStatusBar.Height;
    p.pbProgress.Top = H - p.pbProgress.Height - 730;
    p.TabStrip.Top = H - status - p.TabStrip.Height - c.FrameAllowance;
    if (p.tbMainToolbar.Width < W) p.tbMainToolbar.Width = W;
    p.StartButton.Left = W - p.StartButton.Width - c.StartButtonMargin - 70;
    p.btnStartMerge.Left = p.StartButton.Left - p.btnStartMerge.Width - c.ButtonGap;
    p.OpenFileButton.Left = p.btnStartMerge.Left - p.OpenFileButton.Width - c.ButtonGap;
    p.VSplitBar1.Height = Max0(H - status - p.VSplitBar1.Top - c.FrameAllowance);
    p.FoundList.Top = p.tbMainToolbar.Visible ? p.tbMainToolbar.Bottom() + c.PaneGap : 120;
    p.wbPromotion.Top = H - status - p.wbPromotion.Height - c.FrameAllowance;
    p.FoundList.Height = p.wbPromotion.Visible
                             ? Max0(H - status - p.wbPromotion.Height - p.FoundList.Top - c.FrameAllowance)
                             : Max0(H - status - p.FoundList.Top - c.FrameAllowance);
    p.frmTbBrowser.Top = p.TabStrip.Top - p.frmTbBrowser.Height + 50;
    p.ContentWebBrowser.Height = Max0(p.frmTbBrowser.Top - p.ContentWebBrowser.Top - c.PaneGap);
    p.HelpWebBrowser.Height = Max0(p.frmTbBrowser.Top - p.HelpWebBrowser.Top - c.PaneGap);
    p.frmToolbarFrame.Top = p.TabStrip.Top - p.frmToolbarFrame.Height + 50;
    p.MaskList.Height = Max0(p.frmToolbarFrame.Top - p.MaskList.Top - c.PaneGap + 20);
    p.PropertyContentList.Height =
        p.HContentSplitBar.Visible ? Max0(p.HContentSplitBar.Top - p.HSplitBar1.Bottom() - c.PaneGap)
                                   : Max0(p.TabStrip.Top - p.HSplitBar1.Top - c.PaneGap);
    if (p.PropertyContentBrowser.Visible)
        p.PropertyContentBrowser.Height = Max0(p.frmTbBrowser.Top - p.HContentSplitBar.Top - 70);
    p.frmOptions.Height = Max0(p.TabStrip.Top - p.frmOptions.Top - c.PaneGap - 20);
    ArrangePanes(p, W, c);
}

void ArrangePanes(WindowPanes& p, float W, const LayoutConstants& c) {
    WidthWhenPositive(p.pbProgress, p.StatusPanel1Left + p.StatusPanel1Width - p.pbProgress.Left - 50);
    const float L = p.VSplitBar1.Left, V = p.VSplitBar1.Width;
    p.FoundList.Width = L - p.FoundList.Left + 10;
    p.wbPromotion.Width = L - p.FoundList.Left + 10;
    p.lblPanelTitle.Left = L + V + 10;
    p.lblPanelTitle.Width = W;
    p.StartAddressCombo.Left = L + V + 10;
    WidthWhenPositive(p.StartAddressCombo, p.OpenFileButton.Left - p.StartAddressCombo.Left - c.ControlGap);
    struct Step {
        PaneBox* box;
        float offset;  // right of the splitter
        float extra;   // further off the right edge
    };
    const Step steps[] = {
        {&p.ContentWebBrowser, 10, 0}, {&p.frmOptions, 10, 20},        {&p.HelpWebBrowser, 10, 0},
        {&p.TabStrip, 0, 0},           {&p.MaskList, 0, 0},            {&p.ShowPropertiesList, 0, 0},
        {&p.PropertyContentList, 0, 0}, {&p.HSplitBar1, 0, 0},          {&p.PropertyContentBrowser, 10, 0},
        {&p.frmToolbarFrame, 20, 0},   {&p.frmTbBrowser, 20, 0},       {&p.HContentSplitBar, 0, 0},
    };
    for (const Step& s : steps) {
        s.box->Left = L + V + s.offset;
        WidthWhenPositive(*s.box, W - s.box->Left - c.FrameWidthAllowance - s.extra);
    }
}

bool MoveHSplitBar1(WindowPanes& p, float d, const LayoutConstants& c) {
    PaneBox& bar = p.HSplitBar1;
    if (!(bar.Top + d > p.StartButton.Bottom() + c.MinPaneSize)) return false;
    const float limit = p.HContentSplitBar.Visible ? p.HContentSplitBar.Top - c.MinPaneSize : p.TabStrip.Top;
    if (!(bar.Top + d + bar.Height + c.PaneGap < limit)) return false;
    bar.Top += d;
    p.ShowPropertiesList.Height = bar.Top - p.ShowPropertiesList.Top;
    p.PropertyContentList.Top = bar.Bottom() + c.PaneGap;
    p.PropertyContentList.Height = (p.HContentSplitBar.Visible ? p.HContentSplitBar.Top : p.TabStrip.Top) -
                                   p.PropertyContentList.Top - c.PaneGap;
    return true;
}

bool MoveHContentSplitBar(WindowPanes& p, float d, const LayoutConstants& c) {
    PaneBox& bar = p.HContentSplitBar;
    if (!(bar.Top + d > p.HSplitBar1.Bottom() + c.MinPaneSize)) return false;
    if (!(bar.Top + d + bar.Height + c.PaneGap + 100 < p.frmTbBrowser.Top)) return false;
    bar.Top += d;
    p.PropertyContentList.Height = bar.Top - p.HSplitBar1.Bottom() - c.PaneGap;
    p.PropertyContentBrowser.Top = bar.Bottom() + c.PaneGap;
    p.PropertyContentBrowser.Height = p.TabStrip.Top - p.PropertyContentBrowser.Top - c.PaneGap;
    return true;
}

bool MoveVSplitBar1(WindowPanes& p, float xDelta, float W, const LayoutConstants& c) {
    const float L = p.VSplitBar1.Left, V = p.VSplitBar1.Width;
    if (!(L + xDelta > p.LastMainButtonRight + 10 && L + V + xDelta < p.OpenFileButton.Left)) return false;
    p.VSplitBar1.Left = L + xDelta;
    ArrangePanes(p, W, c);
    return true;
}

void PlaceHContentSplitBar(WindowPanes& p, const LayoutConstants& c) {
    PaneBox& bar = p.HContentSplitBar;
    const float top = p.HSplitBar1.Bottom() + c.PaneGap, bottom = p.TabStrip.Top;
    if (bar.Top < top || bar.Bottom() > bottom) bar.Top = top + Max0(bottom - top - bar.Height) / 2;
    p.HContentSplitBar.Visible = p.PropertyContentBrowser.Visible = true;
    if (!MoveHContentSplitBar(p, 0, c)) {
        // Too little room for both minimum sizes: share what there is.
        p.PropertyContentBrowser.Top = bar.Bottom() + c.PaneGap;
        p.PropertyContentBrowser.Height = Max0(bottom - p.PropertyContentBrowser.Top - c.PaneGap);
    }
    p.PropertyContentList.Top = top;
    p.PropertyContentList.Height = Max0(bar.Top - p.PropertyContentList.Top - c.PaneGap);
}
