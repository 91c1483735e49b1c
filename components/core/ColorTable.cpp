#include "components/core/ColorTable.h"

namespace {
const TRGBTriple kStandard16[16] = {
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
    {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {128, 128, 128},
    {192, 192, 192}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
};
}  // namespace

TColorTable::TColorTable(int Count) {
    switch (Count) {
        case 0:
        case 2:
            colors_[1] = {255, 255, 255};
            break;
        case 16:
            for (int i = 0; i < 16; ++i) colors_[i] = kStandard16[i];
            break;
        case 256:
            for (int i = 0; i < 256; ++i) {
                uint8_t v = static_cast<uint8_t>(i);
                colors_[i] = {v, v, v};
            }
            break;
        default:
            break;
    }
    SetCount(Count);
}
