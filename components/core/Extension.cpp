#include "components/core/Extension.h"

int TExtension::Delay() const {
    if (Kind != ekGraphicControl || Fixed.size() < 4) return 0;
    return Fixed[2] | (Fixed[3] << 8);
}
