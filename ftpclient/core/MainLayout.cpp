#include "ftpclient/core/MainLayout.h"

#include <algorithm>

TStatusBarLayout LayoutStatusBar(int BarWidth, int ClientWidth, int ClientHeight, const int PanelWidths[4],
                                 int ProgressHeight, int LightSize) {
    TStatusBarLayout l;
    // Never negative: a very narrow window squeezes the hint panel away first.
    l.HintWidth = std::max(0, BarWidth - (PanelWidths[1] + PanelWidths[2] + PanelWidths[3]));
    l.Progress = {l.HintWidth + 5, (ClientHeight - ProgressHeight) / 2 + 1, std::max(0, PanelWidths[1] - 7),
                  ProgressHeight};
    const int lightTop = (ClientHeight - LightSize) / 2 + 1;
    l.ConnectedLight = {ClientWidth - PanelWidths[3] + 8, lightTop, LightSize, LightSize};
    l.DisconnectedLight = {l.ConnectedLight.Left + LightSize + 4, lightTop, LightSize, LightSize};
    return l;
}

std::vector<TPaneRect> StackBelowLabel(const TPaneRect& Label, int ClientWidth, int ClientHeight,
                                         const std::vector<int>& Heights) {
    std::vector<TPaneRect> out{Label};
    const int width = std::max(0, ClientWidth - Label.Left - 4);
    out[0].Width = width;
    int top = Label.Top + Label.Height + 2;
    for (size_t i = 0; i < Heights.size(); ++i) {
        const bool last = i + 1 == Heights.size();
        const int h = last ? std::max(0, ClientHeight - 3 - top) : Heights[i];
        out.push_back({Label.Left, top, width, h});
        top += h + 2;
    }
    return out;
}

int SharedListHeight(int Room, int Designed) {
    return std::max(0, std::min(Designed, std::max(Room - 100, Room / 2)));
}

int AdLabelWidth(int ClientWidth, int LabelLeft) { return std::max(0, ClientWidth - 2 * LabelLeft); }
