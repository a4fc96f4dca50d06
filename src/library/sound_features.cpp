#include "library/sound_features.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "voice/render_note.h"

namespace voxtane::library {
namespace {

constexpr double kRate = 8000;
constexpr int kNote = 60;
constexpr double kHold = 0.6;
constexpr double kTotal = 1.0;
constexpr double kNoteHz = 261.6256;
constexpr int kFrame = 256;
// Where the moments are measured, in seconds: the attack closely, the release (after 0.6) too.
constexpr std::array<double, kFeatureMoments> kMoments{0.0,  0.03, 0.08, 0.16,
                                                       0.32, 0.52, 0.66, 0.85};
constexpr std::array<double, 6> kBandEdgesHz{0, 350, 700, 1400, 2800, 4000};
constexpr double kSilentDb = -80;

struct Twiddles {
    std::array<double, kFrame> cosine{};
    std::array<double, kFrame> sine{};
    Twiddles() {
        for (int i = 0; i < kFrame; ++i) {
            cosine[static_cast<std::size_t>(i)] = std::cos(2 * std::numbers::pi * i / kFrame);
            sine[static_cast<std::size_t>(i)] = std::sin(2 * std::numbers::pi * i / kFrame);
        }
    }
};
const Twiddles twiddles;

double Db(double energy) {
    return std::max(kSilentDb, 10 * std::log10(energy + 1e-12));
}

}  // namespace

SoundFeatures MeasureSound(const DecodedTone& tone) {
    const std::vector<float> sound = voice::RenderNote(tone, kNote, kHold, kTotal, kRate);
    SoundFeatures features{};
    std::array<double, kFrame> window{};
    for (int i = 0; i < kFrame; ++i)
        window[static_cast<std::size_t>(i)] =
            0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / (kFrame - 1));

    for (int m = 0; m < kFeatureMoments; ++m) {
        const auto start = static_cast<std::size_t>(kMoments[static_cast<std::size_t>(m)] * kRate);
        float* out = features.data() + m * kFeaturesPerMoment;
        if (start + kFrame > sound.size()) continue;
        double energy = 0;
        int crossings = 0;
        for (int i = 0; i < kFrame; ++i) {
            const double s = sound[start + static_cast<std::size_t>(i)];
            energy += s * s;
            if (i > 0 && (sound[start + static_cast<std::size_t>(i) - 1] < 0) != (s < 0))
                ++crossings;
        }
        energy /= kFrame;
        out[0] = static_cast<float>(Db(energy) / 20);
        if (Db(energy) <= kSilentDb + 1) continue;
        // The spectrum up to half the rate, one bin per 31.25 Hz.
        std::array<double, kBandEdgesHz.size() - 1> bands{};
        double total = 0, weighted = 0;
        std::array<double, kFrame> windowed{};
        for (std::size_t i = 0; i < kFrame; ++i) windowed[i] = sound[start + i] * window[i];
        for (int bin = 1; bin < kFrame / 2; ++bin) {
            double re = 0, im = 0;
            for (int i = 0; i < kFrame; ++i) {
                const auto k = static_cast<std::size_t>((bin * i) % kFrame);
                re += windowed[static_cast<std::size_t>(i)] * twiddles.cosine[k];
                im -= windowed[static_cast<std::size_t>(i)] * twiddles.sine[k];
            }
            const double power = re * re + im * im;
            const double hz = bin * kRate / kFrame;
            total += power;
            weighted += power * hz;
            for (std::size_t b = 0; b < bands.size(); ++b)
                if (hz >= kBandEdgesHz[b] && hz < kBandEdgesHz[b + 1]) bands[b] += power;
        }
        if (total <= 0) continue;
        out[1] = static_cast<float>(std::log2(std::max(weighted / total, 1.0) / kNoteHz));
        for (std::size_t b = 0; b < bands.size(); ++b)
            out[2 + b] = static_cast<float>(2 * bands[b] / total);
        const double zeroCrossingHz = crossings * kRate / (2.0 * kFrame);
        out[7] = static_cast<float>(std::log2(std::max(zeroCrossingHz, 20.0) / kNoteHz) / 2);
    }

    // Attack: when the loudness first comes within 1 dB of its peak; decay: how far it has
    // fallen by the release.
    double peak = 0;
    std::vector<double> envelope;
    for (std::size_t i = 0; i + 64 <= sound.size(); i += 64) {
        double energy = 0;
        for (std::size_t j = i; j < i + 64; ++j) energy += double{sound[j]} * sound[j];
        envelope.push_back(energy / 64);
        peak = std::max(peak, envelope.back());
    }
    std::size_t attack = 0;
    while (attack < envelope.size() && Db(envelope[attack]) < Db(peak) - 1) ++attack;
    features[kFeatureCount - 2] = static_cast<float>(std::log10((attack + 1) * 64 / kRate) / 2);
    const auto release = static_cast<std::size_t>(kHold * kRate / 64) - 1;
    features[kFeatureCount - 1] =
        static_cast<float>(release < envelope.size() ? (Db(envelope[release]) - Db(peak)) / 20 : 0);
    return features;
}

float FeatureDistance(const SoundFeatures& a, const SoundFeatures& b) {
    double sum = 0;
    for (int i = 0; i < kFeatureCount; ++i) {
        const double d = a[static_cast<std::size_t>(i)] - b[static_cast<std::size_t>(i)];
        sum += d * d;
    }
    return static_cast<float>(std::sqrt(sum));
}

}  // namespace voxtane::library
