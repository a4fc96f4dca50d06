#pragma once

#include <QWidget>
#include <array>

#include "editor/editor_run.h"
#include "qt/envelope_graph.h"
#include "qt/output_band.h"
#include "qt/piano_strip.h"
#include "qt/wave_view.h"
#include "voice/audio_output.h"

class QLabel;
class QSlider;

namespace voxtane::qt {

// The Voice window: the tone being edited, heard on this computer and drawn as the software
// voice makes it. The audio output and a level meter, two octaves of piano keys (the computer's
// keys play them while the window has the keyboard), the six envelopes over time, whose points
// can be dragged, and a cycle of each line's waveforms at a moment after note-on. It follows
// every change of the current tone; editing while a note sounds changes the sound at once.
// Created once and shown and hidden; while hidden it holds no audio device and draws nothing.
// Its place and size, the piano's octave and the output's choices are kept between runs.
class VoiceWindow : public QWidget {
    Q_OBJECT

  public:
    // `output` may be null: then there is no sound, and the window says so.
    VoiceWindow(editor::EditorRun& run, voice::AudioOutput* output, QWidget* parent);
    // Keeps the place of a window still open when the program ends.
    ~VoiceWindow() override;
    VoiceWindow(const VoiceWindow&) = delete;
    VoiceWindow& operator=(const VoiceWindow&) = delete;

    [[nodiscard]] PianoStrip& Piano() const { return *piano_; }
    [[nodiscard]] OutputBand& Output() const { return *output_; }
    [[nodiscard]] EnvelopeGraph& Graph(EnvelopeId id) const { return *graphs_[id]; }
    [[nodiscard]] WaveView& Wave(int line) const { return *waves_[line - 1]; }
    // The tone as the window shows it and the voice plays it.
    [[nodiscard]] const DecodedTone& Tone() const { return tone_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

  private:
    QWidget* MakePianoRow();
    QWidget* MakeGraphs();
    QWidget* MakeWaves();
    void FollowTone();
    void ShowWaves();
    void FollowCompare();
    void SetTabOrder();
    void RememberGeometry();

    editor::EditorRun& run_;
    DecodedTone tone_;
    OutputBand* output_;
    PianoStrip* piano_ = nullptr;
    QWidget* octaveDown_ = nullptr;
    QWidget* octaveUp_ = nullptr;
    std::array<EnvelopeGraph*, kEnvelopeCount> graphs_{};
    std::array<WaveView*, 2> waves_{};
    QSlider* moment_ = nullptr;
    QLabel* momentLabel_ = nullptr;
};

}  // namespace voxtane::qt
