#include "bank/module1.h"

#include "tone/tone_codes.h"

namespace voxtane {

void Module1::FillLookupTables() {
    VibRateLow = kVibRateLow;
    VibRateHigh = kVibRateHigh;
    DCAKeyCodes = kDCAKeyCodes;
    DCWKeyCodes = kDCWKeyCodes;
}

}  // namespace voxtane
