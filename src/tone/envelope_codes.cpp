#include "tone/envelope_codes.h"

#include <cmath>
#include <cstdint>

namespace voxtane {
namespace {

// Int(numerator / denominator): the product is whole, the division is done in double precision
// and rounded down, so negative codes decode below zero as the synth's own display would.
int FloorDiv(std::int64_t numerator, int denominator) {
    return static_cast<int>(std::floor(static_cast<double>(numerator) / denominator));
}

bool InShownRange(int value) {
    return value >= 0 && value <= kEnvelopeTop;
}

}  // namespace

int DecodeRateByte(EnvelopeKind kind, int rateByte) {
    const int c = rateByte & ~kFallingFlag;
    switch (kind) {
        case EnvelopeKind::DCA:
            if (c == 0) return 0;
            if (c == 119) return 99;
            return FloorDiv(std::int64_t{c} * 99, 119) + 1;
        case EnvelopeKind::DCW:
            if (c == 8) return 0;
            if (c == 127) return 99;
            return FloorDiv((std::int64_t{c} - 8) * 99, 119) + 1;
        case EnvelopeKind::DCO:
            if (c == 0) return 0;
            if (c == 127) return 99;
            return FloorDiv(std::int64_t{c} * 99, 127) + 1;
    }
    return 0;
}

int DecodeLevelCode(EnvelopeKind kind, int v) {
    switch (kind) {
        case EnvelopeKind::DCA:
            return v == 0 ? 0 : v - 28;
        case EnvelopeKind::DCW:
            if (v == 0) return 0;
            if (v == 127) return 99;
            return FloorDiv(std::int64_t{v} * 99, 127) + 1;
        case EnvelopeKind::DCO:
            return (v >= 0 && v <= 63) ? v : v - 4;
    }
    return 0;
}

int EncodeRateCode(EnvelopeKind kind, int r) {
    if (!InShownRange(r)) r = 0;
    switch (kind) {
        case EnvelopeKind::DCA:
            if (r == 0) return 0;
            if (r == 99) return 119;
            return FloorDiv(r * 119, 99);
        case EnvelopeKind::DCW:
            return FloorDiv(r * 119, 99) + 8;
        case EnvelopeKind::DCO:
            return FloorDiv(r * 127, 99);
    }
    return 0;
}

int EncodeLevelCode(EnvelopeKind kind, int l) {
    if (!InShownRange(l)) l = 0;
    switch (kind) {
        case EnvelopeKind::DCA:
            return l == 0 ? 0 : l + 28;
        case EnvelopeKind::DCW:
            return FloorDiv(l * 127, 99);
        case EnvelopeKind::DCO:
            return l <= 63 ? l : l + 4;
    }
    return 0;
}

}  // namespace voxtane
