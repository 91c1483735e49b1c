#include "AlignLayout.h"

#include <algorithm>

namespace {
int NonNegative(int v) { return std::max(0, v); }
}  // namespace

void AlignItems(const TBounds& client, std::vector<TAlignItem>& items) {
    int left = client.Left, top = client.Top;
    int right = client.Left + NonNegative(client.Width), bottom = client.Top + NonNegative(client.Height);
    for (TAlign pass : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (auto& it : items) {
            if (!it.Visible || it.Align != pass) continue;
            TBounds& b = it.Bounds;
            switch (pass) {
                case alTop:
                    b = {left, top, NonNegative(right - left), std::min(NonNegative(b.Height), bottom - top)};
                    top += b.Height;
                    break;
                case alBottom:
                    b.Height = std::min(NonNegative(b.Height), bottom - top);
                    b = {left, bottom - b.Height, NonNegative(right - left), b.Height};
                    bottom -= b.Height;
                    break;
                case alLeft:
                    b = {left, top, std::min(NonNegative(b.Width), right - left), NonNegative(bottom - top)};
                    left += b.Width;
                    break;
                case alRight:
                    b.Width = std::min(NonNegative(b.Width), right - left);
                    b = {right - b.Width, top, b.Width, NonNegative(bottom - top)};
                    right -= b.Width;
                    break;
                case alClient:
                    b = {left, top, NonNegative(right - left), NonNegative(bottom - top)};
                    break;
                case alNone:
                    break;
            }
        }
    }
}
