#include "voice/voice.h"

#include <algorithm>
#include <cmath>

#include "tone/waveform_codes.h"
#include "voice/approximations.h"

namespace voxtane::voice {

namespace {

// A stolen voice fades out over this time before its new note starts: long enough not to
// click, short enough not to be heard as a delay.
constexpr double kStealFadeSeconds = 0.002;
// The highest pitch an oscillator is allowed, as a fraction of the sample rate.
constexpr double kHighestFrequency = 0.45;
constexpr double kPhaseUnitsPerCycle = 4294967296.0;  // 2^32: the phase wraps once a cycle

double NoteFrequency(double semitonesFromA4) {
    return 440.0 * std::exp2(semitonesFromA4 / 12.0);
}

}  // namespace

void Voice::Play(int note, std::uint64_t order, std::uint32_t noiseSeed) {
    pendingNote_ = note;
    pendingOrder_ = order;
    pendingSeed_ = noiseSeed;
    pendingReleased_ = false;
    pending_ = true;
    if (active_)
        fading_ = true;
    else
        Start();
}

void Voice::Start() {
    note_ = pendingNote_;
    order_ = pendingOrder_;
    held_ = !pendingReleased_;
    pending_ = false;
    fading_ = false;
    fadeGain_ = 1.0f;
    active_ = true;
    blockFramesLeft_ = 0;
    silentAfterBlock_ = false;
    lines_ = {};
    for (Line& line : lines_) {
        line.dca.Start();
        line.dcw.Start();
        line.dco.Start();
    }
    vibrato_.Start();
    noise_ = Noise(pendingSeed_);
}

void Voice::Release(const PlayingTone& tone) {
    if (pending_) {
        pendingReleased_ = true;
        return;
    }
    if (!held_) return;
    held_ = false;
    for (int i = 0; i < kMaxLines; ++i) {
        const int line = tone.sounding[i].line;
        lines_[i].dca.Release(tone.Rule(EnvelopeKind::DCA, line));
        lines_[i].dcw.Release(tone.Rule(EnvelopeKind::DCW, line));
        lines_[i].dco.Release(tone.Rule(EnvelopeKind::DCO, line));
    }
}

void Voice::FadeOut() {
    if (!active_) return;
    fading_ = true;
    pending_ = false;
}

void Voice::BeginBlock(const PlayingTone& tone, double sampleRate, int frames) {
    const DecodedTone& t = tone.tone;
    lineCount_ = tone.lineCount;
    modulation_ = lineCount_ == 2 ? t.modulation : kModulationNone;
    blockFramesLeft_ = frames;
    const double seconds = frames / sampleRate;
    const double vibrato = vibrato_.Advance(tone.vibrato, seconds);
    silentAfterBlock_ = true;
    for (int i = 0; i < lineCount_; ++i) {
        Line& line = lines_[i];
        const SoundingLine& sounding = tone.sounding[i];
        const DecodedLine& params = t.lines[sounding.line];
        const double dcaFollow = KeyFollowFactor(params.dcaKeyFollow, note_);
        const double dcwFollow = KeyFollowFactor(params.dcwKeyFollow, note_);
        line.dca.Advance(tone.Rule(EnvelopeKind::DCA, sounding.line), seconds, dcaFollow);
        line.dcw.Advance(tone.Rule(EnvelopeKind::DCW, sounding.line), seconds, dcwFollow);
        line.dco.Advance(tone.Rule(EnvelopeKind::DCO, sounding.line), seconds, 1.0);

        line.gainAtBlockEnd = static_cast<float>(DcaGain(line.dca.Level()));
        line.gainStep = (line.gainAtBlockEnd - line.gain) / static_cast<float>(frames);
        silentAfterBlock_ = silentAfterBlock_ && line.dca.Stage() == EnvelopeStage::kEnded &&
                            line.gainAtBlockEnd == 0.0f;

        const double amount = DistortionAmount(line.dcw.Level() * dcwFollow);
        line.shapes = {WaveShape(params.waveform1, amount), WaveShape(params.waveform2, amount)};

        const double semitones = note_ - 69 + tone.octaveSemitones + sounding.detuneSemitones +
                                 DcoBendSemitones(line.dco.Level()) + vibrato;
        const double frequency = std::min(NoteFrequency(semitones), kHighestFrequency * sampleRate);
        line.increment = static_cast<std::uint32_t>(frequency / sampleRate * kPhaseUnitsPerCycle);
    }
}

void Voice::RenderLine(Line& line, std::span<float> out) {
    constexpr float kPhaseScale = 1.0f / 16777216.0f;  // the top 24 bits as a fraction of a cycle
    for (float& sample : out) {
        sample = line.shapes[line.secondWave](static_cast<float>(line.phase >> 8) * kPhaseScale);
        line.phase += line.increment;
        if (line.phase < line.increment) line.secondWave = !line.secondWave;
    }
}

void Voice::EndBlock() {
    for (Line& line : lines_) line.gain = line.gainAtBlockEnd;
    if (fading_ && fadeGain_ <= 0.0f) {
        if (pending_)
            Start();
        else
            active_ = false;
    } else if (silentAfterBlock_) {
        active_ = false;
    }
}

void Voice::Render(const PlayingTone& tone, double sampleRate, std::span<float> mix,
                   int framesToGrid) {
    if (!active_) return;
    if (blockFramesLeft_ == 0) BeginBlock(tone, sampleRate, framesToGrid);
    const auto frames = std::min<std::size_t>(mix.size(), blockFramesLeft_);

    std::array<std::array<float, kControlFrames>, kMaxLines> lineOut;
    for (int i = 0; i < lineCount_; ++i) RenderLine(lines_[i], {lineOut[i].data(), frames});

    const float fadeStep = static_cast<float>(1.0 / (kStealFadeSeconds * sampleRate));
    Line& first = lines_[0];
    Line& second = lines_[1];
    for (std::size_t s = 0; s < frames; ++s) {
        float sample = first.gain * lineOut[0][s];
        first.gain += first.gainStep;
        if (lineCount_ == 2) {
            float other = lineOut[1][s];
            if (modulation_ == kModulationRing)
                other *= lineOut[0][s];
            else if (modulation_ == kModulationNoise)
                other *= noise_.Next();
            sample += second.gain * other;
            second.gain += second.gainStep;
        }
        if (fading_) {
            fadeGain_ = std::max(0.0f, fadeGain_ - fadeStep);
            sample *= fadeGain_;
        }
        mix[s] += sample;
    }
    blockFramesLeft_ -= static_cast<int>(frames);
    if (blockFramesLeft_ == 0) EndBlock();
}

}  // namespace voxtane::voice
