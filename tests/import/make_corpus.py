#!/usr/bin/env python3
"""Writes the import corpus: hand-made files in every form owners share tones in, each with a
companion NAME.expect listing what the scan must find. Run it again after changing a case here;
the files are committed, so the tests never need Python.

A companion holds one line per finding, in offset order:
    encoding binary|text
    tone OFFSET CHANNEL POSITION|- FORM NIBBLES   (the 256 data bytes, one hex digit each)
    skip OFFSET WORDS...                          (WORDS appear in the reason given)
In text files every offset counts characters: the first digit of the byte meant.
"""
import pathlib
import random

CORPUS = pathlib.Path(__file__).resolve().parent / "corpus"
CLOCK, START, CONTINUE, STOP, SENSING = 0xF8, 0xFA, 0xFB, 0xFC, 0xFE


def nibbles(seed):
    rng = random.Random(seed)
    return [rng.randrange(16) for _ in range(256)]


def head(ch, command):
    return [0xF0, 0x44, 0x00, 0x00, 0x70 + ch - 1, command]


def dump(ch, pos, data, end=(0xF7,)):
    return head(ch, 0x20) + [pos, *data, *end]


def answer(ch, data, ack=(), end=(0xF7,)):
    return head(ch, 0x30) + [*ack, *data, *end]


def header_piece(ch, end=(0xF7,)):
    return answer(ch, [], end=end)


def request(ch, pos, ack=False, end=(0xF7,)):
    return head(ch, 0x10) + [pos, *([0x70 + ch - 1, 0x31] if ack else []), *end]


def with_realtime(message, every, byte=CLOCK):
    """The message with a realtime byte after every `every` bytes, never before its F0."""
    out = []
    for i, b in enumerate(message):
        out.append(b)
        if i % every == every - 1:
            out.append(byte)
    return out


YAMAHA = [0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7]
ROLAND = [0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7]
NOTES = [0x90, 0x3C, 0x64, 0x40, 0x64, 0x3C, 0x00, 0x80, 0x40, 0x00]  # running status
PROGRAM_AND_BEND = [0xC1, 0x05, 0xE1, 0x00, 0x40, 0xF2, 0x10, 0x00]


class File:
    def __init__(self):
        self.bytes, self.findings = [], []

    def add(self, *parts):
        start = len(self.bytes)
        for part in parts:
            self.bytes += part
        return start

    def tone(self, at, ch, pos, form, data):
        self.findings.append((at, "tone", f"{ch} {'-' if pos is None else f'{pos:02X}'} {form} "
                              + "".join(f"{n:X}" for n in data)))

    def skip(self, at, words):
        self.findings.append((at, "skip", words))


def expectations(f, encoding, where=lambda i: i):
    lines = [f"encoding {encoding}"]
    for at, kind, rest in sorted(f.findings, key=lambda x: x[0]):
        lines.append(f"{kind} {where(at)} {rest}")
    return "\n".join(lines) + "\n"


def write_binary(name, f):
    (CORPUS / f"{name}.syx").write_bytes(bytes(f.bytes))
    (CORPUS / f"{name}.expect").write_text(expectations(f, "binary"))


def write_text(name, f, render, lead="", lead_findings=()):
    """The file's bytes as hex text after `lead`, a line of hand-written text of its own."""
    text, where = render(f.bytes)
    (CORPUS / f"{name}.txt").write_bytes((lead + text).encode())
    lines = expectations(f, "text", lambda i: where[i] + len(lead)).splitlines()
    lines[1:1] = lead_findings
    (CORPUS / f"{name}.expect").write_text("\n".join(lines) + "\n")


def style(prefix, upper, sep, per_line, newline="\n", pad=True):
    def render(data):
        text, where = "", []
        for i, b in enumerate(data):
            if i:
                text += newline if i % per_line == 0 else sep
            digits = (f"{b:02X}" if pad else f"{b:X}")
            where.append(len(text) + len(prefix))
            text += prefix + (digits if upper else digits.lower())
        return text + newline, where
    return render


def run_together(width, upper=False):
    def render(data):
        digits = "".join(f"{b:02X}" if upper else f"{b:02x}" for b in data)
        lines = [digits[i:i + width] for i in range(0, len(digits), width)]
        # A digit at column c of line l stands at c + l * (width + 1).
        where = [2 * i + (2 * i // width) for i in range(len(data))]
        return "\n".join(lines) + "\n", where
    return render


def corpus():
    t = [nibbles(seed) for seed in range(40)]

    f = File()
    f.tone(f.add(dump(1, 0x20, t[0])), 1, 0x20, "dump", t[0])
    write_binary("dump-single", f)

    f = File()
    for k in range(16):
        f.tone(f.add(dump(1, 0x20 + k, t[k])), 1, 0x20 + k, "dump", t[k])
    write_binary("dump-bank-of-16", f)

    f = File()
    for k, (ch, pos) in enumerate([(1, 0x00), (16, 0x0F), (5, 0x40), (9, 0x4F), (2, 0x60)]):
        f.tone(f.add(dump(ch, pos, t[k])), ch, pos, "dump", t[k])
    for pos in (0x10, 0x30, 0x61, 0x7F):
        f.skip(f.add(dump(1, pos, t[9])), f"position {pos:02X} does not exist")
    write_binary("dump-every-memory-area", f)

    f = File()
    f.tone(f.add(answer(3, t[1])), 3, None, "answer", t[1])
    f.tone(f.add(answer(12, t[2])), 12, None, "answer", t[2])
    write_binary("answer-two", f)

    f = File()
    at = f.add(request(1, 0x22, ack=True))
    f.add(answer(1, t[3]))
    f.tone(at, 1, 0x22, "exchange", t[3])
    at = f.add(request(2, 0x41, ack=True, end=()))  # the host's F7 never recorded
    f.add(answer(2, t[4]))
    f.tone(at, 2, 0x41, "exchange", t[4])
    write_binary("exchange-request-with-acknowledgement", f)

    f = File()  # both directions merged in time order, as a monitor on a MIDI merge sees them
    at = f.add(request(1, 0x03, end=()), answer(1, t[5], ack=[0x70, 0x31]), [0xF7])
    f.tone(at, 1, 0x03, "exchange", t[5])
    write_binary("exchange-merged-directions", f)

    f = File()
    f.tone(f.add(header_piece(1)), 1, None, "answer-in-pieces", t[6])
    f.add(t[6], [0xF7])
    f.tone(f.add(header_piece(4)), 4, None, "answer-in-pieces", t[7])
    f.add([0x73, 0x31], t[7], [0xF7])  # the editor's acknowledgement recorded before the data
    f.tone(f.add(header_piece(10, end=())), 10, None, "answer-in-pieces", t[9])
    f.add([0x99, 0x3C, 0x64], t[9], [0xF7])  # a note's status byte cut the header off
    write_binary("answer-in-pieces", f)

    f = File()
    at = f.add(request(7, 0x2F, end=()), NOTES, [CLOCK], header_piece(7), [SENSING])
    f.add(YAMAHA, [0x96, 0x30, 0x40], [0x31, 0x00], with_realtime(t[8] + [0xF7], 50, SENSING))
    f.tone(at, 7, 0x2F, "exchange", t[8])
    f.skip(at + len(request(7, 0x2F, end=())) + len(NOTES) + 1 + 7 + 1, "another maker")
    write_binary("exchange-in-pieces-with-traffic", f)

    f = File()
    f.add([CLOCK, START])
    f.tone(f.add(with_realtime(dump(1, 0x20, t[10]), 3)), 1, 0x20, "dump", t[10])
    f.tone(f.add(with_realtime(answer(2, t[11]), 7, SENSING)), 2, None, "answer", t[11])
    f.add([STOP, 0xFF, CONTINUE, 0xF9, 0xFD])
    write_binary("realtime-everywhere", f)

    f = File()
    f.add(NOTES)
    f.skip(f.add(YAMAHA), "another maker (ID 43)")
    f.tone(f.add(dump(1, 0x21, t[12])), 1, 0x21, "dump", t[12])
    f.add(PROGRAM_AND_BEND, [0xF6, 0xF1, 0x22])
    f.skip(f.add(ROLAND), "another maker (ID 41)")
    f.add(NOTES)
    f.tone(f.add(dump(1, 0x22, t[13])), 1, 0x22, "dump", t[13])
    f.add(NOTES)
    write_binary("traffic-between-dumps", f)

    f = File()
    bad = list(t[14])
    bad[16] = 0x3A
    f.tone(f.add(dump(1, 0x20, t[15])), 1, 0x20, "dump", t[15])
    f.skip(f.add(dump(1, 0x21, bad)), "data byte 3A at entry 17 is above 0F")
    f.skip(f.add(dump(1, 0x22, t[14][:255])), "255 data bytes instead of 256")
    f.skip(f.add(dump(1, 0x23, t[14] + [0])), "257 data bytes instead of 256")
    f.skip(f.add(answer(1, t[14][:200])), "200 data bytes instead of 256")
    f.skip(f.add([0xF0, 0x44, 0x00, 0x00, 0x70, 0x40, 0x20, 0xF7]), "command 40")
    f.skip(f.add([0xF0, 0x44, 0x00, 0x00, 0x70, 0x31, 0xF7]), "command 31")
    f.skip(f.add([0xF0, 0x44, 0x01, 0x00, 0x70, 0x20, 0x20, 0xF7]), "another instrument")
    f.skip(f.add([0xF0, 0x44, 0x00, 0x00, 0x10, 0x20, 0x20, 0xF7]), "another instrument")
    f.skip(f.add([0xF0, 0x44, 0x00, 0x00, 0xF7]), "inside its header")
    f.skip(f.add([0xF0, 0x44, 0x00, 0x00, 0x70, 0x20, 0xF7]), "before its memory position")
    f.skip(f.add([0xF0, 0xF7]), "empty")
    f.skip(f.add(request(1, 0x20, end=[0x12, 0xF7])), "unexpected bytes")
    f.skip(f.add(dump(1, 0x24, t[14][:100], end=())), "cut off after 100 of 256")
    f.add(NOTES)  # the note's status byte is what cut the dump off
    f.tone(f.add(dump(1, 0x25, t[16])), 1, 0x25, "dump", t[16])
    f.skip(f.add(dump(1, 0x26, t[14][:40], end=())), "cut off after 40 of 256")
    write_binary("broken-messages", f)

    f = File()
    f.skip(f.add(request(1, 0x20)), "request without an answer")
    f.tone(f.add(dump(1, 0x20, t[17])), 1, 0x20, "dump", t[17])
    f.skip(f.add(request(2, 0x21)), "request without an answer")
    f.tone(f.add(answer(3, t[18])), 3, None, "answer", t[18])
    f.skip(f.add(header_piece(5)), "answer header without its data")
    f.skip(f.add(header_piece(6)), "100 data bytes after the answer header")
    f.add(t[18][:100], [0xF7])
    f.skip(f.add(header_piece(6)), "answer header without its data")
    write_binary("unmatched-exchange-parts", f)

    f = File()
    f.tone(f.add(dump(1, 0x20, t[19], end=())), 1, 0x20, "dump", t[19])
    write_binary("dump-without-final-f7", f)

    f = File()
    f.skip(f.add(YAMAHA), "another maker")
    f.skip(f.add(ROLAND), "another maker")
    write_binary("other-makers-only", f)

    f = File()
    f.add(NOTES, PROGRAM_AND_BEND, NOTES, [CLOCK] * 8)
    write_binary("notes-only", f)

    write_binary("empty", File())

    f = File()
    rng = random.Random(7)
    f.add([rng.choice([b for b in range(256) if b not in (0xF0, 0xF7)]) for _ in range(2000)])
    write_binary("noise-without-sysex", f)

    f = File()  # prose is not hex text; read as bytes it holds no SysEx
    f.add(list(b"Here is my favourite brass tone, load it as a bank file.\n"))
    write_binary("prose", f)

    f = File()
    f.tone(f.add(dump(1, 0x20, t[20])), 1, 0x20, "dump", t[20])
    write_text("text-spaced", f, style("", True, " ", 16))

    f = File()
    f.tone(f.add(answer(2, t[21])), 2, None, "answer", t[21])
    write_text("text-c-array", f, style("0x", False, ", ", 12, newline=",\r\n"))

    f = File()
    at = f.add(request(1, 0x2A, ack=True))
    f.add([SENSING], answer(1, t[22]))
    f.tone(at, 1, 0x2A, "exchange", t[22])
    write_text("text-dollar", f, style("$", True, " ", 8))

    f = File()
    f.tone(f.add(dump(1, 0x20, t[23])), 1, 0x20, "dump", t[23])
    f.tone(f.add(dump(1, 0x21, t[24])), 1, 0x21, "dump", t[24])
    write_text("text-run-together-odd-width", f, run_together(75))

    f = File()
    f.tone(f.add(header_piece(9)), 9, None, "answer-in-pieces", t[25])
    f.add(NOTES, t[25], [0xF7])
    write_text("text-run-together-one-line", f, run_together(10 ** 6, upper=True))

    f = File()
    f.tone(f.add(dump(16, 0x60, t[26])), 16, 0x60, "dump", t[26])
    write_text("text-unpadded-tabs", f, style("0X", True, ",\t", 16, pad=False))

    f = File()
    bad = list(t[27])
    bad[255] = 0x10
    f.skip(f.add(ROLAND), "another maker")
    f.skip(f.add(dump(1, 0x20, bad)), "data byte 10 at entry 256")
    f.tone(f.add(dump(1, 0x21, t[28])), 1, 0x21, "dump", t[28])
    # A number of three digits: "F04" reads as F0 and a lone 4, another maker's ID.
    write_text("text-broken", f, style("", True, " ", 16), lead="F04 43 F7\n",
               lead_findings=["skip 0 another maker (ID 04)", "skip 2 odd count of hex digits"])

if __name__ == "__main__":
    CORPUS.mkdir(exist_ok=True)
    corpus()
