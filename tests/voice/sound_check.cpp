#include "sound_check.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

#include "voice/render_note.h"

namespace voxtane::voice::testing {

DecodedTone HeldTone(int waveform, int dcwLevel) {
    DecodedTone tone;
    tone.lineSelect = 0;
    for (DecodedLine& line : tone.lines) line = {waveform, waveform, 0, 0};
    for (int line : {1, 2}) {
        SetEnvelope(tone, EnvelopeOf(EnvelopeKind::DCA, line), {{99, 99}, {50, 0}}, 0, 1);
        SetEnvelope(tone, EnvelopeOf(EnvelopeKind::DCW, line), {{99, dcwLevel}}, 0, 0);
        SetEnvelope(tone, EnvelopeOf(EnvelopeKind::DCO, line), {{99, 0}}, 0, 0);
    }
    return tone;
}

void SetEnvelope(DecodedTone& tone, EnvelopeId id, std::initializer_list<EnvelopeStep> steps,
                 int sustainStep, int endStep) {
    DecodedEnvelope& e = tone.envelopes[id];
    e = {};
    std::copy(steps.begin(), steps.end(), e.steps.begin());
    e.sustainStep = sustainStep;
    e.endStep = endStep;
}

std::vector<float> Play(const DecodedTone& tone, int note, double holdSeconds,
                        double totalSeconds) {
    return RenderNote(tone, note, holdSeconds, totalSeconds, kRate);
}

std::span<const float> Between(const std::vector<float>& sound, double from, double to) {
    const auto first = std::min(sound.size(), static_cast<std::size_t>(from * kRate));
    const auto last = std::min(sound.size(), static_cast<std::size_t>(to * kRate));
    return std::span<const float>(sound).subspan(first, last - first);
}

double Amplitude(std::span<const float> sound, double hz) {
    // Window and probe advance by rotation: two complex products a sample instead of three
    // trigonometric calls.
    const double n = static_cast<double>(sound.size());
    const std::complex<double> windowTurn = std::polar(1.0, 2.0 * std::numbers::pi / n);
    const std::complex<double> probeTurn = std::polar(1.0, -2.0 * std::numbers::pi * hz / kRate);
    std::complex<double> window = 1.0;
    std::complex<double> probe = 1.0;
    std::complex<double> sum = 0.0;
    for (float s : sound) {
        sum += (0.5 - 0.5 * window.real()) * double{s} * probe;
        window *= windowTurn;
        probe *= probeTurn;
    }
    return 4.0 * std::abs(sum) / n;  // 2 for one side of the spectrum, 2 for the window
}

double DominantFrequency(std::span<const float> sound, double lowHz, double highHz) {
    // A coarse scan finds the peak's bin; golden-section search finds its top.
    const double step = kRate / sound.size() / 4.0;
    double best = lowHz;
    double bestAmplitude = 0.0;
    for (double hz = lowHz; hz <= highHz; hz += step) {
        if (const double a = Amplitude(sound, hz); a > bestAmplitude) {
            best = hz;
            bestAmplitude = a;
        }
    }
    double a = best - step;
    double b = best + step;
    const double ratio = (std::sqrt(5.0) - 1.0) / 2.0;
    while (b - a > 1e-4) {
        const double c = b - ratio * (b - a);
        const double d = a + ratio * (b - a);
        if (Amplitude(sound, c) > Amplitude(sound, d))
            b = d;
        else
            a = c;
    }
    return (a + b) / 2.0;
}

double SinusoidCorrelation(std::span<const float> sound, double hz) {
    // Least squares on cos and sin: the fitted part's energy over the sound's, as a cosine.
    double cc = 0.0, ss = 0.0, cs = 0.0, xc = 0.0, xs = 0.0, xx = 0.0;
    const std::complex<double> turn = std::polar(1.0, 2.0 * std::numbers::pi * hz / kRate);
    std::complex<double> probe = 1.0;
    for (float sample : sound) {
        const double x = sample;
        cc += probe.real() * probe.real();
        ss += probe.imag() * probe.imag();
        cs += probe.real() * probe.imag();
        xc += x * probe.real();
        xs += x * probe.imag();
        xx += x * x;
        probe *= turn;
    }
    const double det = cc * ss - cs * cs;
    const double a = (xc * ss - xs * cs) / det;
    const double b = (xs * cc - xc * cs) / det;
    return xx > 0.0 ? std::sqrt(std::max(0.0, (a * xc + b * xs) / xx)) : 0.0;
}

double Rms(std::span<const float> sound) {
    double sum = 0.0;
    for (float s : sound) sum += double{s} * s;
    return sound.empty() ? 0.0 : std::sqrt(sum / sound.size());
}

double Decibels(double ratio) {
    return 20.0 * std::log10(std::max(ratio, 1e-12));
}

std::vector<double> RisingCrossings(std::span<const float> sound) {
    std::vector<double> times;
    for (std::size_t i = 1; i < sound.size(); ++i)
        if (sound[i - 1] < 0.0f && sound[i] >= 0.0f)
            times.push_back((i - 1 + sound[i - 1] / (sound[i - 1] - sound[i])) / kRate);
    return times;
}

}  // namespace voxtane::voice::testing
