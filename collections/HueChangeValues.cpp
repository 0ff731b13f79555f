#include "collections/HueChangeValues.h"

namespace tamber::collections {

HueChange NewHueChange() {
    HueChange hue;
    hue.name = "New Hue Change";
    hue.startHue = 0x5556;
    hue.endHue = 0xAAAB;
    hue.medianHue = 0x8001;
    return hue;
}

int HueDegrees(uint16_t hue) { return int(uint32_t(hue) * 360 / 65536); }

uint16_t HueFromDegrees(int degrees) {
    const int turn = ((degrees % 360) + 360) % 360;
    // Rounded up, so that the degrees shown for the stored value are the ones entered.
    return uint16_t((uint32_t(turn) * 65536 + 359) / 360);
}

int SaturationPercent(uint16_t saturation) { return int(uint32_t(saturation) * 100 / 65535); }

uint16_t SaturationFromPercent(int percent) {
    if (percent >= 100) return 65535;
    if (percent < 0) return 0;
    return uint16_t(uint32_t(percent) * 65535 / 100 + 1);
}

}  // namespace tamber::collections
