#!/usr/bin/python3
"""Writes the small .xls workbooks the workbook reader's tests open.

Each workbook is a BIFF8 record stream inside an OLE2 compound file, written
with the Python standard library only. Run it from anywhere:

    /usr/bin/python3 scripts/make-xls-fixtures.py

The files land in tests/fixtures/workbook/ and are committed, so the tests
never depend on this script at run time.
"""

import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "fixtures", "workbook")

# ---------------------------------------------------------------- BIFF8 ----

ERR_DIV0 = 0x07
ERR_NA = 0x2A


def rec(rtype, data=b""):
    return struct.pack("<HH", rtype, len(data)) + data


def bof(dt):
    # version BIFF8, substream type, build, year, file history, lowest version
    return rec(0x0809, struct.pack("<HHHHII", 0x0600, dt, 0x0DBB, 0x07CC, 0, 0x0600))


def eof():
    return rec(0x000A)


def xl_string16(text):
    """Unicode string with a 16-bit length (SST entries, LABEL, STRING)."""
    try:
        raw = text.encode("latin-1")
        return struct.pack("<HB", len(text), 0) + raw
    except UnicodeEncodeError:
        return struct.pack("<HB", len(text), 1) + text.encode("utf-16-le")


def xl_string8(text):
    """Unicode string with an 8-bit length (sheet names)."""
    try:
        raw = text.encode("latin-1")
        return struct.pack("<BB", len(text), 0) + raw
    except UnicodeEncodeError:
        return struct.pack("<BB", len(text), 1) + text.encode("utf-16-le")


class Number:
    def __init__(self, value):
        self.value = value


class Rk:
    """An integer stored the compact way (RK record)."""

    def __init__(self, value):
        self.value = value


class Text:
    def __init__(self, value):
        self.value = value


class Label:
    """Text stored directly in the cell record (LABEL) instead of the SST."""

    def __init__(self, value):
        self.value = value


class Blank:
    """A formatted but empty cell."""


class Bool:
    def __init__(self, value):
        self.value = value


class Error:
    def __init__(self, code):
        self.code = code


class Formula:
    """A formula cell with its cached result: a number, a str, a Bool, an
    Error or "" (an empty text)."""

    def __init__(self, result):
        self.result = result


# =1/0 as parsed tokens: ptgInt 1, ptgInt 0, ptgDiv
RGCE = bytes([0x1E, 0x01, 0x00, 0x1E, 0x00, 0x00, 0x06])


def cell_records(row, col, cell, sst):
    if isinstance(cell, Number):
        return rec(0x0203, struct.pack("<HHHd", row, col, 15, cell.value))
    if isinstance(cell, Rk):
        return rec(0x027E, struct.pack("<HHHi", row, col, 15, (cell.value << 2) | 2))
    if isinstance(cell, Text):
        if cell.value not in sst:
            sst.append(cell.value)
        return rec(0x00FD, struct.pack("<HHHI", row, col, 15, sst.index(cell.value)))
    if isinstance(cell, Label):
        return rec(0x0204, struct.pack("<HHH", row, col, 15) + xl_string16(cell.value))
    if isinstance(cell, Blank):
        return rec(0x0201, struct.pack("<HHH", row, col, 15))
    if isinstance(cell, Bool):
        return rec(0x0205, struct.pack("<HHHBB", row, col, 15, 1 if cell.value else 0, 0))
    if isinstance(cell, Error):
        return rec(0x0205, struct.pack("<HHHBB", row, col, 15, cell.code, 1))
    if isinstance(cell, Formula):
        r = cell.result
        follow = b""
        if isinstance(r, (int, float)) and not isinstance(r, bool):
            result = struct.pack("<d", float(r))
        elif isinstance(r, str) and r == "":
            result = bytes([3, 0, 0, 0, 0, 0, 0xFF, 0xFF])
        elif isinstance(r, str):
            result = bytes([0, 0, 0, 0, 0, 0, 0xFF, 0xFF])
            follow = rec(0x0207, xl_string16(r))
        elif isinstance(r, Bool):
            result = bytes([1, 0, 1 if r.value else 0, 0, 0, 0, 0xFF, 0xFF])
        elif isinstance(r, Error):
            result = bytes([2, 0, r.code, 0, 0, 0, 0xFF, 0xFF])
        else:
            raise ValueError(r)
        body = struct.pack("<HHH", row, col, 15) + result + struct.pack("<HIH", 0, 0, len(RGCE)) + RGCE
        return rec(0x0006, body) + follow
    raise ValueError(cell)


def sheet_stream(cells, sst, chart=False):
    """cells: dict (row, col) -> cell, both 1-based like the sheet's A1."""
    if chart:
        return bof(0x0020) + eof()
    out = bof(0x0010)
    if cells:
        rows = max(r for r, _ in cells)
        cols = max(c for _, c in cells)
        out += rec(0x0200, struct.pack("<IIHHH", 0, rows, 0, cols, 0))
    else:
        out += rec(0x0200, struct.pack("<IIHHH", 0, 0, 0, 0, 0))
    body = bytearray()
    for (r, c) in sorted(cells):
        body += cell_records(r - 1, c - 1, cells[(r, c)], sst)
    return out + bytes(body) + eof()


def workbook_stream(sheets, active=0):
    """sheets: list of (name, cells) or (name, None) for a chart sheet."""
    sst = []
    bodies = [sheet_stream(cells or {}, sst, chart=cells is None) for _, cells in sheets]

    def globals_part(offsets):
        g = bof(0x0005)
        g += rec(0x0042, struct.pack("<H", 1200))  # code page: UTF-16
        g += rec(0x003D, struct.pack("<HHHHHHHHH", 0x0168, 0x001E, 0x3A20, 0x2328, 0x0038, active, 0, 1, 0x0258))
        for (name, cells), off in zip(sheets, offsets):
            dt = 2 if cells is None else 0
            g += rec(0x0085, struct.pack("<IBB", off, 0, dt) + xl_string8(name))
        if sst:
            body = struct.pack("<II", len(sst), len(sst))
            for s in sst:
                body += xl_string16(s)
            g += rec(0x00FC, body)
        return g + eof()

    size = len(globals_part([0] * len(sheets)))
    offsets = []
    pos = size
    for b in bodies:
        offsets.append(pos)
        pos += len(b)
    return globals_part(offsets) + b"".join(bodies)


# ----------------------------------------------------------------- OLE2 ----

SECTOR = 512
MINI = 64
CUTOFF = 4096
FREE = 0xFFFFFFFF
END = 0xFFFFFFFE
FATSECT = 0xFFFFFFFD
NOSTREAM = 0xFFFFFFFF


def dir_entry(name, etype, child=NOSTREAM, start=END, size=0):
    raw = name.encode("utf-16-le")
    name_field = raw + b"\0\0"
    name_len = len(name_field) if name else 0
    name_field = name_field.ljust(64, b"\0") if name else b"\0" * 64
    e = name_field + struct.pack("<HBB", name_len, etype, 1 if etype else 0)
    e += struct.pack("<III", NOSTREAM, NOSTREAM, child)
    e += b"\0" * 16 + struct.pack("<I", 0) + b"\0" * 16
    e += struct.pack("<III", start, size, 0)
    assert len(e) == 128
    return e


def compound_file(stream, stream_name="Workbook", mini=False):
    """Wraps one stream in an OLE2 compound file (version 3, 512-byte sectors).
    A stream below 4096 bytes must live in the mini stream; unless mini is
    asked for, the stream is padded with zeros to 4096 bytes instead (zeros
    read as the end of the records)."""
    if not mini and len(stream) < CUTOFF:
        stream = stream + b"\0" * (CUTOFF - len(stream))
    use_mini = len(stream) < CUTOFF

    def sectors_for(n, size):
        return (n + size - 1) // size

    if use_mini:
        n_mini = sectors_for(len(stream), MINI)
        container = stream + b"\0" * (n_mini * MINI - len(stream))
        n_minifat = sectors_for(n_mini * 4, SECTOR)
        n_container = sectors_for(len(container), SECTOR)
        n_stream = 0
    else:
        n_mini = n_minifat = n_container = 0
        container = b""
        n_stream = sectors_for(len(stream), SECTOR)

    n_dir = 1
    n_fat = 1
    while True:
        total = n_fat + n_dir + n_minifat + n_container + n_stream
        if sectors_for(total, SECTOR // 4) <= n_fat:
            break
        n_fat += 1
    assert n_fat <= 109

    fat = [FREE] * (n_fat * (SECTOR // 4))
    pos = 0
    for i in range(n_fat):
        fat[pos + i] = FATSECT
    pos += n_fat

    def chain(start, count):
        for i in range(count):
            fat[start + i] = start + i + 1 if i + 1 < count else END

    dir_start = pos
    chain(pos, n_dir)
    pos += n_dir
    minifat_start = pos if n_minifat else END
    chain(pos, n_minifat)
    pos += n_minifat
    container_start = pos if n_container else END
    chain(pos, n_container)
    pos += n_container
    stream_start = pos if n_stream else END
    chain(pos, n_stream)
    pos += n_stream

    root = dir_entry("Root Entry", 5, child=1, start=container_start, size=len(container))
    if use_mini:
        wb = dir_entry(stream_name, 2, start=0, size=len(stream))
    else:
        wb = dir_entry(stream_name, 2, start=stream_start, size=len(stream))
    directory = root + wb + dir_entry("", 0) + dir_entry("", 0)

    header = b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + b"\0" * 16
    header += struct.pack("<HHHHH", 0x003E, 0x0003, 0xFFFE, 9, 6) + b"\0" * 6
    header += struct.pack("<IIIIIIIII", 0, n_fat, dir_start, 0, CUTOFF, minifat_start, n_minifat, END, 0)
    difat = list(range(n_fat)) + [FREE] * (109 - n_fat)
    header += struct.pack("<109I", *difat)
    assert len(header) == SECTOR

    body = struct.pack("<%dI" % len(fat), *fat)
    body += directory
    if use_mini:
        minifat = [i + 1 if i + 1 < n_mini else END for i in range(n_mini)]
        minifat += [FREE] * (n_minifat * (SECTOR // 4) - len(minifat))
        body += struct.pack("<%dI" % len(minifat), *minifat)
        body += container + b"\0" * (n_container * SECTOR - len(container))
    else:
        body += stream + b"\0" * (n_stream * SECTOR - len(stream))
    return header + body


# ------------------------------------------------------------- fixtures ----


def write(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def main():
    os.makedirs(OUT, exist_ok=True)

    # Numbers of every storage kind; the block ends at the empty row 5, A6 is
    # outside it.
    write("numbers.xls", compound_file(workbook_stream([("Datos", {
        (1, 1): Rk(0), (1, 2): Rk(-7),
        (2, 1): Number(1.5), (2, 2): Number(-2.25),
        (3, 1): Number(1e-5), (3, 2): Number(1e16),
        (4, 1): Number(0.1 + 0.2), (4, 2): Number(123456789.123456789),
        (6, 1): Rk(99),
    })])))

    # Texts from the shared string table, a high-byte string and a LABEL.
    write("texts.xls", compound_file(workbook_stream([("Textos", {
        (1, 1): Text("x"), (1, 2): Text("y"),
        (2, 1): Text("1,5"), (2, 2): Text(" 7 "),
        (3, 1): Text("\u00f1and\u00fa"), (3, 2): Text("\u03a9mega"),
        (4, 1): Label("label"), (4, 2): Number(2),
    })])))

    # Empty cells inside the block: missing and formatted-but-empty ones.
    write("empty-cells.xls", compound_file(workbook_stream([("Huecos", {
        (1, 1): Rk(1),
        (2, 1): Blank(), (2, 2): Rk(2),
        (3, 1): Rk(3), (3, 2): Blank(),
    })])))

    # A #DIV/0! constant in B2 and a #N/A in A3; a Boolean in B3.
    write("error-cell.xls", compound_file(workbook_stream([("Errores", {
        (1, 1): Rk(1), (1, 2): Rk(2),
        (2, 1): Rk(3), (2, 2): Error(ERR_DIV0),
        (3, 1): Error(ERR_NA), (3, 2): Bool(True),
        (4, 1): Bool(False), (4, 2): Rk(4),
    })])))

    # Formula cells with each kind of cached result.
    write("formulas.xls", compound_file(workbook_stream([("Formulas", {
        (1, 1): Formula(2.5), (1, 2): Formula("texto"),
        (2, 1): Formula(""), (2, 2): Formula(Bool(True)),
        (3, 1): Formula(Error(ERR_DIV0)), (3, 2): Rk(6),
        # only a formula giving an empty text joins row 5 to the block
        (4, 1): Rk(7), (5, 3): Formula(""), (6, 1): Rk(8),
    })])))

    # Two sheets; the second is active, then the first.
    two = [("Primera", {(1, 1): Rk(1), (1, 2): Rk(2), (2, 1): Rk(3), (2, 2): Rk(4)}),
           ("Segunda", {(1, 1): Rk(10), (1, 2): Rk(20), (2, 1): Rk(30), (2, 2): Rk(40),
                        (3, 1): Rk(50), (3, 2): Rk(60)})]
    write("two-sheets-second-active.xls", compound_file(workbook_stream(two, active=1)))
    write("two-sheets-first-active.xls", compound_file(workbook_stream(two, active=0)))

    # A chart sheet is the active tab: it has no cells to read.
    write("chart-sheet-active.xls", compound_file(workbook_stream(
        [("Hoja1", {(1, 1): Rk(1)}), ("Grafico1", None)], active=1)))

    # A chart sheet before the data sheet: FreeXL would give the data sheet
    # empty, so the workbook is refused.
    write("chart-sheet-first.xls", compound_file(workbook_stream(
        [("Grafico1", None), ("Datos", {(1, 1): Rk(1), (1, 2): Rk(2)})], active=1)))

    # Cells joined to the block only through a corner: A1, A2, B3 (corner of
    # A2), C4 (corner of B3), then column D (D3..D5 touch C4) down to D7.
    # A9 is cut off by the empty row 8; F1 by the empty column E.
    diag = {(1, 1): Rk(1), (2, 1): Rk(2), (3, 2): Rk(3), (4, 3): Rk(4), (9, 1): Rk(9), (1, 6): Rk(6)}
    for r in range(1, 8):
        diag[(r, 4)] = Rk(100 + r)
    write("diagonal.xls", compound_file(workbook_stream([("Diagonal", diag)])))

    # A1 empty, B2 filled: the block around A1 is A1:B2.
    write("a1-empty.xls", compound_file(workbook_stream([("Hoja1", {(2, 2): Rk(5)})])))
    # A1 alone (A3 is not joined to it); an empty sheet.
    write("a1-alone.xls", compound_file(workbook_stream([("Hoja1", {(1, 1): Rk(5), (3, 1): Rk(6)})])))
    write("empty-sheet.xls", compound_file(workbook_stream([("Hoja1", {})])))

    # The same small workbook kept in the compound file's mini stream.
    write("ministream.xls", compound_file(workbook_stream([("Mini", {
        (1, 1): Rk(1), (1, 2): Number(0.5), (2, 1): Rk(2), (2, 2): Text("dos"),
    })]), mini=True))

    # 32,768 filled rows: one more than a 16-bit row count holds. Column A
    # holds rows 1 to 32,767, B32768 joins through the corner of A32767.
    big = {(r, 1): Rk(r) for r in range(1, 32768)}
    big[(32768, 2)] = Rk(32768)
    write("rows-32768.xls", compound_file(workbook_stream([("Grande", big)])))


if __name__ == "__main__":
    main()
