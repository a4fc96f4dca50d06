#include "qt/picture_paths.h"

#include <QPointF>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <numbers>

namespace voxtane::qt {
namespace {

// The drawing area inside the 24 by 22 box: two cycles between x 2 and 22, from the baseline at
// y 19 up to y 3.
constexpr double kLeft = 2;
constexpr double kRight = 22;
constexpr double kCycle = (kRight - kLeft) / 2;
constexpr double kBase = 19;
constexpr double kTop = 3;
constexpr double kHeight = kBase - kTop;

QPainterPath Polyline(std::initializer_list<QPointF> points) {
    QPainterPath path;
    bool first = true;
    for (const QPointF& p : points) {
        if (first) {
            path.moveTo(p);
            first = false;
        } else {
            path.lineTo(p);
        }
    }
    return path;
}

// A curve through y = f(x) for x from kLeft to kRight, sampled finely enough for any icon size.
QPainterPath Curve(const std::function<double(double)>& y) {
    constexpr int kSamples = 240;
    QPainterPath path;
    for (int i = 0; i <= kSamples; ++i) {
        const double x = kLeft + (kRight - kLeft) * i / kSamples;
        if (i == 0) {
            path.moveTo(x, y(x));
        } else {
            path.lineTo(x, y(x));
        }
    }
    return path;
}

// Height of a resonance envelope, 0 to 1, at position t (0 to 1) of its cycle.
using EnvelopeShape = double (*)(double t);
double FallingSaw(double t) {
    return 1 - t;
}
double Triangle(double t) {
    return t < 0.5 ? 2 * t : 2 - 2 * t;
}
double Trapezoid(double t) {
    if (t < 0.2) return t / 0.2;
    if (t > 0.8) return (1 - t) / 0.2;
    return 1;
}

double CyclePosition(double x) {
    const double t = std::fmod(x - kLeft, kCycle) / kCycle;
    return x >= kRight ? 1.0 : t;
}

// A resonant wave: a fast oscillation swinging between the baseline and the envelope, so that
// the envelope looks filled with strokes, which is how the synthesizer's resonance waves read.
PicturePaths Resonance(EnvelopeShape shape) {
    constexpr double kStrokesPerCycle = 4;
    PicturePaths paths;
    paths.wave = Curve([shape](double x) {
        const double t = CyclePosition(x);
        const double swing = (1 - std::cos(2 * std::numbers::pi * kStrokesPerCycle * t)) / 2;
        return kBase - kHeight * shape(t) * swing;
    });
    paths.envelope = Curve([shape](double x) { return kBase - kHeight * shape(CyclePosition(x)); });
    return paths;
}

QPainterPath Sawtooth() {
    return Polyline({{kLeft, kBase}, {12, kTop}, {12, kBase}, {kRight, kTop}, {kRight, kBase}});
}
QPainterPath FallingSawtooth() {
    return Polyline({{kLeft, kBase}, {kLeft, kTop}, {12, kBase}, {12, kTop}, {kRight, kBase}});
}
QPainterPath Square() {
    return Polyline({{kLeft, kBase},
                     {kLeft, kTop},
                     {7, kTop},
                     {7, kBase},
                     {12, kBase},
                     {12, kTop},
                     {17, kTop},
                     {17, kBase},
                     {kRight, kBase}});
}
QPainterPath Pulse() {
    return Polyline({{kLeft, kBase},
                     {kLeft, kTop},
                     {4, kTop},
                     {4, kBase},
                     {12, kBase},
                     {12, kTop},
                     {14, kTop},
                     {14, kBase},
                     {kRight, kBase}});
}
// Two sine humps per cycle, the second lower, as the double sine sounds brighter than a sine.
QPainterPath DoubleSine() {
    return Curve([](double x) {
        const double t = CyclePosition(x);
        const double hump = std::abs(std::sin(2 * std::numbers::pi * t));
        return kBase - kHeight * hump * (t < 0.5 ? 1.0 : 0.6);
    });
}
QPainterPath SawPulse() {
    return Polyline({{kLeft, kBase},
                     {6, kTop},
                     {9, kTop},
                     {9, kBase},
                     {12, kBase},
                     {16, kTop},
                     {19, kTop},
                     {19, kBase},
                     {kRight, kBase}});
}
QPainterPath TriangleWave() {
    return Polyline({{kLeft, kBase}, {7, kTop}, {12, kBase}, {17, kTop}, {kRight, kBase}});
}

PicturePaths Waveform(int index) {
    switch (index) {
        case 0:
            return {Sawtooth(), {}};
        case 1:
            return {Square(), {}};
        case 2:
            return {Pulse(), {}};
        case 3:
            return {DoubleSine(), {}};
        case 4:
            return {SawPulse(), {}};
        case 5:
            return Resonance(FallingSaw);
        case 6:
            return Resonance(Triangle);
        default:
            return Resonance(Trapezoid);
    }
}

PicturePaths Vibrato(int index) {
    switch (index) {
        case 0:
            return {TriangleWave(), {}};
        case 1:
            return {Sawtooth(), {}};
        case 2:
            return {FallingSawtooth(), {}};
        default:
            return {Square(), {}};
    }
}

}  // namespace

PicturePaths PathsOf(PictureSet set, int index) {
    return set == PictureSet::Waveform ? Waveform(index) : Vibrato(index);
}

}  // namespace voxtane::qt
