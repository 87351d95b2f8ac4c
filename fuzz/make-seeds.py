#!/usr/bin/env python3
"""Writes the seed inputs of fuzz_transfer and fuzz_cells into fuzz/corpus/.

The operations are those of fuzz_transfer.cpp and fuzz_cells.cpp, encoded for
FuzzedDataProvider: whole numbers are taken from the end of the input, one byte each here,
raw bytes and texts from the front.
"""

import pathlib

OPS = ["start_read", "start_write", "tick_watchdog", "tick_blink", "tick_retry", "raw", "reply",
       "set_band", "toggle_service", "toggle_calibration", "set_answer", "set_image",
       "toggle_language"]


class Seed:
    def __init__(self):
        self.front = bytearray()
        self.back = bytearray()  # in the order taken

    def num(self, value):
        self.back.append(value)

    def op(self, name):
        self.num(OPS.index(name))

    def raw(self, data):
        self.op("raw")
        self.num(len(data) - 1)  # 1 + n % 80
        self.front += data

    # The radio's reply to the last frame: kind is "ack", "ident" or "data".
    def reply(self, kind, variant=0, other=0, cut=0, band=0, model5=False, seed=0):
        self.op("reply")
        if kind == "ident":
            self.num((0x80 if model5 else 0) | band)
        elif kind == "data":
            self.num(seed)
        self.num(variant)
        self.num(other)
        if kind != "ack":
            self.num(cut)

    def modal(self, events=0):
        self.num(events)

    def bytes(self):
        return bytes(self.front) + bytes(reversed(self.back))


def handshake(s, band=0, variant=0):
    s.reply("ack")
    s.reply("ident", band=band, model5=(band == 5), variant=variant, cut=3)


def full_read(s, variant=0):
    s.op("start_read")
    handshake(s, variant=variant)
    for block in range(16):
        s.reply("ack")
        s.reply("data", seed=block, variant=variant, cut=30)
    s.reply("ack")
    for _ in range(12):
        s.op("tick_blink")


def full_write(s, frames=46):
    s.op("start_write")
    handshake(s)
    for _ in range(frames + 1):
        s.reply("ack")
    for _ in range(12):
        s.op("tick_blink")


def seeds():
    out = {}

    s = Seed()
    full_read(s)
    out["read"] = s

    s = Seed()
    full_read(s, variant=1)
    out["read-in-pieces"] = s

    s = Seed()
    full_write(s)
    out["write"] = s

    s = Seed()
    s.op("toggle_calibration")
    full_write(s, frames=47)
    out["write-calibration"] = s

    s = Seed()
    s.op("set_band")
    s.num(5)
    s.op("start_write")
    handshake(s)
    s.reply("ack")
    out["write-band-refused"] = s

    s = Seed()
    s.op("toggle_service")
    s.op("set_band")
    s.num(5)
    s.op("start_write")
    handshake(s)
    s.reply("ack")
    s.modal(1)  # the question is open: an acknowledgement arrives meanwhile
    s.reply("ack")
    for _ in range(46):
        s.reply("ack")
    out["write-service-yes"] = s

    s = Seed()
    s.op("start_read")
    for _ in range(3):
        s.op("tick_retry")
    for _ in range(4):
        s.op("tick_watchdog")
    s.modal(1)  # a late acknowledgement while the error box is open
    s.reply("ack")
    out["silent"] = s

    s = Seed()
    s.op("start_read")
    s.raw(bytes([0x55, 0xAA, 0x00, 0xFF, 0x13, 0x37]))
    s.reply("ack", variant=6, other=0x99)
    s.reply("ident", cut=3)
    s.reply("ack")
    s.reply("data", variant=4, other=0x01, cut=2)  # a data frame for another address
    out["read-wrong-address"] = s

    s = Seed()
    s.op("start_write")
    s.op("set_image")
    s.num(2)
    s.num(1)  # an image text of 256 characters, too short for the write
    s.num(0)
    handshake(s)
    for _ in range(12):
        s.reply("ack")
    out["write-short-image"] = s
    return out


def typed(options, edits):
    """Edits are (row, column, text) typed into the grid, or None for a language switch."""
    s = Seed()
    s.num(options)
    for edit in edits:
        if edit is None:
            s.num(0)
            continue
        row, col, text = edit
        s.num(row)
        s.num(col - 1)
        # A text ends at a backslash followed by another character.
        s.front += text.encode("utf-8").replace(b"\\", b"\\\\") + b"\\;"
    return s


def cell_seeds():
    return {
        "uhf-channel": typed(0, [(1, 1, "435.0125"), (1, 2, "D023N"), (1, 3, "440"),
                                 (1, 4, "88.5"), (1, 5, "低"), (1, 8, "无")]),
        "vhf-english": typed(8 | 5, [(3, 1, "145.00625"), (3, 4, "100.1"), (3, 6, "Carrier"),
                                     None, (3, 7, "窄带"), (3, 1, "")]),
        "refused": typed(0, [(2, 1, "999"), (2, 3, "400"), (4, 1, "abc"), (5, 2, "D999N")]),
    }


def main():
    corpus = pathlib.Path(__file__).resolve().parent / "corpus"
    for target, made in (("transfer", seeds()), ("cells", cell_seeds())):
        folder = corpus / target
        folder.mkdir(parents=True, exist_ok=True)
        for name, seed in made.items():
            (folder / name).write_bytes(seed.bytes())


if __name__ == "__main__":
    main()
