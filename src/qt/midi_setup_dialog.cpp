#include "qt/midi_setup_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

#include "editor/midi_setup.h"

namespace voxtane::qt {
namespace {

QComboBox* DeviceBox(const char* name, const std::vector<std::string>& entries, int chosen,
                     QWidget& parent) {
    auto* box = new QComboBox(&parent);
    box->setObjectName(QString::fromLatin1(name));
    for (const std::string& entry : entries) box->addItem(QString::fromStdString(entry));
    box->setCurrentIndex(chosen);
    return box;
}

}  // namespace

void ShowMidiSetupDialog(QWidget& parent, editor::MidiCommands& midiCommands,
                         editor::SynthLink& link) {
    editor::MidiSetup setup = editor::ReadMidiSetup(midiCommands, link);
    QDialog dialog(&parent);
    dialog.setObjectName(QStringLiteral("MidiSetup"));
    dialog.setWindowTitle(QStringLiteral("MIDI Setup"));
    auto* form = new QFormLayout(&dialog);
    QComboBox* output = DeviceBox("cboOutput", setup.outputs, setup.output, dialog);
    form->addRow(QStringLiteral("MIDI &output (to the synth's MIDI IN):"), output);
    QComboBox* input = DeviceBox("cboInput", setup.inputs, setup.input, dialog);
    form->addRow(QStringLiteral("MIDI &input (from the synth's MIDI OUT):"), input);
    auto* channel = new QSpinBox(&dialog);
    channel->setObjectName(QStringLiteral("spnChannel"));
    channel->setRange(1, 16);
    channel->setValue(setup.channel);
    form->addRow(QStringLiteral("MIDI &channel:"), channel);
    auto* sendWhileEditing = new QCheckBox(
        QStringLiteral("Send every edit to the synth (Send While &Editing)"), &dialog);
    sendWhileEditing->setObjectName(QStringLiteral("chkSendWhileEditing"));
    sendWhileEditing->setChecked(setup.sendWhileEditing);
    form->addRow(sendWhileEditing);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);

    if (dialog.exec() != QDialog::Accepted) return;
    setup.output = output->currentIndex();
    setup.input = input->currentIndex();
    setup.channel = channel->value();
    setup.sendWhileEditing = sendWhileEditing->isChecked();
    editor::ApplyMidiSetup(setup, midiCommands, link);
}

}  // namespace voxtane::qt
