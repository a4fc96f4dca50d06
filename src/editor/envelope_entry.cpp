#include "editor/envelope_entry.h"

#include <charconv>
#include <cmath>

#include "bank/text_encoding.h"
#include "editor/control_words.h"
#include "tone/envelope_codes.h"
#include "tone/envelope_number.h"

namespace voxtane::editor {
namespace {

int StoredNumber(std::string_view text) {
    const int number = ReadEnvelopeNumber(text);
    return number >= 0 && number <= kEnvelopeTop ? number : 0;
}

std::string WithoutBlanks(std::string_view text) {
    std::string compact;
    for (char c : text)
        if (c != ' ' && c != '\t') compact.push_back(c);
    return compact;
}

// Whether a number, as a box's text holds it (no blanks), rounds to one of 0 to kEnvelopeTop.
// Numbers too large for the reading's 16 bits read as 0 but lie outside all the same.
bool InRange(std::string number) {
    if (number.front() == '+') number.erase(0, 1);
    double value = 0.0;
    const auto read = std::from_chars(number.data(), number.data() + number.size(), value);
    if (read.ec != std::errc{}) return false;
    const double rounded = std::nearbyint(value);
    return rounded >= 0.0 && rounded <= kEnvelopeTop;
}

// Why the text is not the number stored, or "" when it is (blanks and leading zeros aside).
std::string WhyNot(std::string_view text) {
    const std::string number = WithoutBlanks(text);
    switch (FormOfEnvelopeText(text)) {
        case EnvelopeTextForm::Blank:
            return "the box is empty";
        case EnvelopeTextForm::Whole:
        case EnvelopeTextForm::Fraction:
            if (!InRange(number))
                return number + " is outside 0 to " + std::to_string(kEnvelopeTop);
            return FormOfEnvelopeText(text) == EnvelopeTextForm::Whole
                       ? ""
                       : number + " is not a whole number";
        case EnvelopeTextForm::NotANumber:
            break;
    }
    // Only the start of a long text: the note is one line of the status bar.
    constexpr std::size_t kQuoted = 20;
    const std::string quoted = CutToCharacters(ToValidUtf8(text), kQuoted);
    return "\"" + quoted + (quoted.size() < text.size() ? "...\"" : "\"") + " is not a number";
}

}  // namespace

EnvelopeEntry ReadEnvelopeEntry(std::string_view control, int index, std::string_view text) {
    EnvelopeEntry entry;
    entry.stored = StoredNumber(text);
    const std::string why = WhyNot(text);
    if (!why.empty())
        entry.note = AccessibleName(control, index) + ": " + why + "; " +
                     std::to_string(entry.stored) + " is stored";
    return entry;
}

void ShowStoredNumber(Module1& module1, TextBoxArray& boxes, int index) {
    const std::string shown = std::to_string(StoredNumber(boxes.Text(index)));
    if (boxes.Text(index) == shown) return;
    const QuietToneHandlers quiet(module1);  // the number stays: nothing to encode, no step
    boxes.SetText(index, shown);
}

}  // namespace voxtane::editor
