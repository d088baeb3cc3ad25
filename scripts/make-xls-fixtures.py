#!/usr/bin/python3
"""Writes the small .xls workbooks the workbook reader's tests open.

Each workbook is a BIFF8 record stream inside an OLE2 compound file, written
with the Python standard library only. Run it from anywhere:

    /usr/bin/python3 scripts/make-xls-fixtures.py

The files land in tests/fixtures/workbook/ and are committed, so the tests
never depend on this script at run time. With --seeds FOLDER it writes the
seed workbooks for fuzz_workbook there instead (see fuzz/README.md).
"""

import os
import struct
import sys

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
    def __init__(self, value, xf=15):
        self.value = value
        self.xf = xf


class Rk:
    """An integer stored the compact way (RK record)."""

    def __init__(self, value):
        self.value = value


class Text:
    """Text from the shared string table (SST). runs: number of formatting
    runs after the characters; phonetic: bytes of phonetic data after them.
    utf16 forces two-byte characters; continued is the width of the parts
    continued in CONTINUE records (None: as the first part). cch, runs_said
    and phonetic_said write other counts than the data holds (damaged)."""

    def __init__(self, value, runs=0, phonetic=0, utf16=None, continued=None,
                 cch=None, runs_said=None, phonetic_said=None):
        self.value = value
        self.runs = runs
        self.phonetic = phonetic
        self.utf16 = utf16
        self.continued = continued
        self.cch = cch
        self.runs_said = runs_said
        self.phonetic_said = phonetic_said

    def key(self):
        return (self.value, self.runs, self.phonetic, self.utf16, self.continued,
                self.cch, self.runs_said, self.phonetic_said)


class SstIndex:
    """A text cell pointing at any index of the string table (damaged when
    there is no such string)."""

    def __init__(self, index):
        self.index = index


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
        return rec(0x0203, struct.pack("<HHHd", row, col, cell.xf, cell.value))
    if isinstance(cell, Rk):
        return rec(0x027E, struct.pack("<HHHi", row, col, 15, (cell.value << 2) | 2))
    if isinstance(cell, Text):
        keys = [t.key() for t in sst]
        if cell.key() not in keys:
            sst.append(cell)
            keys.append(cell.key())
        return rec(0x00FD, struct.pack("<HHHI", row, col, 15, keys.index(cell.key())))
    if isinstance(cell, SstIndex):
        return rec(0x00FD, struct.pack("<HHHI", row, col, 15, cell.index))
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


class Parts:
    """The body of a record and its CONTINUE records, each at most `limit`
    bytes, filled the way Excel splits a string table: a string's header
    never splits, characters continue after a flags byte of their own, runs
    and phonetic data continue without one."""

    def __init__(self, limit):
        self.limit = limit
        self.parts = [bytearray()]

    def room(self):
        return self.limit - len(self.parts[-1])

    def header(self, data):
        if self.room() < len(data):
            self.parts.append(bytearray())
        self.parts[-1] += data

    def data(self, data):
        while data:
            if self.room() == 0:
                self.parts.append(bytearray())
            n = min(self.room(), len(data))
            self.parts[-1] += data[:n]
            data = data[n:]

    def chars(self, text, utf16, continued):
        width = 2 if utf16 else 1
        while text:
            if self.room() < width:
                width = 2 if continued is None and utf16 or continued else 1
                if width == 1 and any(ord(c) > 0xFF for c in text):
                    width = 2
                self.parts.append(bytearray([width - 1]))
            n = min(self.room() // width, len(text))
            self.parts[-1] += text[:n].encode("utf-16-le" if width == 2 else "latin-1")
            text = text[n:]

    def records(self, rtype):
        return rec(rtype, bytes(self.parts[0])) + b"".join(rec(0x003C, bytes(p)) for p in self.parts[1:])


def sst_records(sst, limit=8224, unique=None):
    out = Parts(limit)
    out.header(struct.pack("<II", len(sst), len(sst) if unique is None else unique))
    for t in sst:
        text = t.value
        utf16 = t.utf16 if t.utf16 is not None else any(ord(c) > 0xFF for c in text)
        flags = (1 if utf16 else 0) | (8 if t.runs or t.runs_said is not None else 0) \
            | (4 if t.phonetic or t.phonetic_said is not None else 0)
        head = struct.pack("<HB", len(text) if t.cch is None else t.cch, flags)
        if flags & 8:
            head += struct.pack("<H", t.runs if t.runs_said is None else t.runs_said)
        if flags & 4:
            head += struct.pack("<I", t.phonetic if t.phonetic_said is None else t.phonetic_said)
        out.header(head)
        out.chars(text, utf16, t.continued)
        out.data(b"".join(struct.pack("<HH", min(i * 3, max(len(text) - 1, 0)), 5 + i % 3)
                          for i in range(t.runs)))
        out.data(bytes((0x21 + i * 7) % 256 for i in range(t.phonetic)))
    return out.records(0x00FC)


def workbook_stream(sheets, active=0, formats=(), xfs=(), sst_limit=8224, sst_unique=None):
    """sheets: list of (name, cells) or (name, None) for a chart sheet.
    formats: (index, text) FORMAT records; xfs: the format index of each XF
    record (the cells' XF index 15 then points at the 16th)."""
    sst = []
    bodies = [sheet_stream(cells or {}, sst, chart=cells is None) for _, cells in sheets]

    def globals_part(offsets):
        g = bof(0x0005)
        g += rec(0x0042, struct.pack("<H", 1200))  # code page: UTF-16
        g += rec(0x003D, struct.pack("<HHHHHHHHH", 0x0168, 0x001E, 0x3A20, 0x2328, 0x0038, active, 0, 1, 0x0258))
        for index, text in formats:
            g += rec(0x041E, struct.pack("<H", index) + xl_string16(text))
        for fmt in xfs:
            g += rec(0x00E0, struct.pack("<HHHBBBBIIH", 0, fmt, 0x0001, 0x20, 0, 0, 0, 0, 0, 0x20C0))
        for (name, cells), off in zip(sheets, offsets):
            dt = 2 if cells is None else 0
            g += rec(0x0085, struct.pack("<IBB", off, 0, dt) + xl_string8(name))
        if sst or sst_unique is not None:
            g += sst_records(sst, sst_limit, sst_unique)
        return g + eof()

    size = len(globals_part([0] * len(sheets)))
    offsets = []
    pos = size
    for b in bodies:
        offsets.append(pos)
        pos += len(b)
    return globals_part(offsets) + b"".join(bodies)


def biff5_stream(name, cells, codepage):
    """An Excel 5 workbook of one sheet: texts are LABEL records of bytes in
    the code page (cells: (row, col) -> str, int or float, 1-based)."""
    def bof5(dt):
        return rec(0x0809, struct.pack("<HHHH", 0x0500, dt, 0x0DBB, 0x07CC))

    raw_name = name.encode("cp%d" % codepage)
    body = bof5(0x0010)
    body += rec(0x0200, struct.pack("<HHHHH", 0, max(r for r, _ in cells), 0, max(c for _, c in cells), 0))
    for (r, c) in sorted(cells):
        v = cells[(r, c)]
        if isinstance(v, str):
            raw = v.encode("cp%d" % codepage)
            body += rec(0x0204, struct.pack("<HHHH", r - 1, c - 1, 15, len(raw)) + raw)
        else:
            body += rec(0x0203, struct.pack("<HHHd", r - 1, c - 1, 15, float(v)))
    body += eof()

    def globals_part(offset):
        g = bof5(0x0005)
        g += rec(0x0042, struct.pack("<H", codepage))
        g += rec(0x003D, struct.pack("<HHHHHHHHH", 0x0168, 0x001E, 0x3A20, 0x2328, 0x0038, 0, 0, 1, 0x0258))
        g += rec(0x0085, struct.pack("<IBBB", offset, 0, 0, len(raw_name)) + raw_name)
        return g + eof()

    return globals_part(len(globals_part(0))) + body


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


def write(name, data, folder=None):
    with open(os.path.join(folder or OUT, name), "wb") as f:
        f.write(data)


def numbered(n):
    """n characters "00000 00006 00012 ...": each block names its own
    position, so a lost or repeated piece shows."""
    return "".join("%05d " % i for i in range(0, n + 6, 6))[:n]


# Texts of the shared string table over many short records: runs and
# phonetic data across record ends, a UTF-16 text continued in one-byte
# parts and the other way round, an empty text.
SPLIT_TEXTS = {
    (1, 1): Text("uno", runs=3), (1, 2): Text("fon\u00e9tica", phonetic=30),
    (2, 1): Text("\u00c5\u00c6\u00c7" * 20, runs=2, phonetic=11),
    (2, 2): Text("ancho luego estrecho " * 4, utf16=True, continued=False),
    (3, 1): Text(""), (3, 2): Text("estrecho luego ancho " * 4, utf16=False, continued=True),
    (4, 1): Text(numbered(300), runs=40, phonetic=100), (4, 2): Label("etiqueta"),
    (5, 1): Rk(5), (5, 2): Text("\u03a9mega"),
}


def damaged_string_tables():
    """Workbooks whose string table says more than it holds: name -> stream."""
    return {
        "string-count-beyond-table.xls": workbook_stream(
            [("Hoja1", {(1, 1): Text("a"), (1, 2): Text("b")})], sst_unique=3),
        "string-length-beyond-table.xls": workbook_stream(
            [("Hoja1", {(1, 1): Text("abc", cch=0xFFFF), (1, 2): Text("b")})]),
        "string-runs-beyond-table.xls": workbook_stream(
            [("Hoja1", {(1, 1): Text("abc", runs_said=500), (1, 2): Text("b")})]),
        "string-phonetic-beyond-table.xls": workbook_stream(
            [("Hoja1", {(1, 1): Text("abc", phonetic_said=0xFFFFFFF0)})]),
        "text-index-outside-table.xls": workbook_stream(
            [("Hoja1", {(1, 1): Text("a"), (2, 1): SstIndex(1)})]),
        # Zeros end the records; FreeXL reads on after them in the mini
        # stream, so a string table there must not pass unseen.
        "records-after-zeros.xls": workbook_stream([("Hoja1", {(1, 1): Rk(1)})]) + b"\0" * 4
        + sst_records([Text("x", cch=60000)]),
    }


def write_seeds(folder):
    """Seeds for fuzz_workbook, each under 16 KB: long one-byte and UTF-16
    texts over many CONTINUE records, runs and phonetic data across record
    ends, damaged string counts, both stream kinds."""
    os.makedirs(folder, exist_ok=True)
    seeds = {
        "long-one-byte": ([("S", {(1, 1): Text(numbered(3000)), (1, 2): Text("b"), (2, 1): Rk(2)})], 256),
        "long-one-byte-full-records": ([("S", {(1, 1): Text(numbered(10000)), (1, 2): Rk(1)})], 8224),
        "long-utf16": ([("S", {(1, 1): Text("\u03a9" + numbered(1500)), (1, 2): Text("\u20ac" * 700)})], 300),
        "long-utf16-full-records": ([("S", {(1, 1): Text("\u20ac" * 6000), (1, 2): Rk(1)})], 8224),
        "wide-then-narrow": ([("S", {(1, 1): Text(numbered(900), utf16=True, continued=False)})], 120),
        "narrow-then-wide": ([("S", {(1, 1): Text(numbered(900), utf16=False, continued=True)})], 120),
        "runs-and-phonetic": ([("S", SPLIT_TEXTS)], 40),
        "runs-long": ([("S", {(1, 1): Text(numbered(500), runs=300, phonetic=700), (1, 2): Text("z")})], 200),
    }
    for name, (sheets, limit) in seeds.items():
        stream = workbook_stream(sheets, sst_limit=limit)
        write("%s.xls" % name, compound_file(stream), folder)
        if len(stream) < CUTOFF:
            write("%s-mini.xls" % name, compound_file(stream, mini=True), folder)
    for name, stream in damaged_string_tables().items():
        write(name, compound_file(stream, mini=len(stream) < CUTOFF), folder)
    write("formats.xls", compound_file(formats_stream(), mini=True), folder)
    write("excel5.xls", compound_file(biff5_stream("Hoja", {
        (1, 1): "\u00f1and\u00fa", (1, 2): 2, (2, 1): "x" * 300}, 1252), stream_name="Book", mini=True), folder)


def formats_stream():
    """Dates through a built-in and a custom format, an empty format (FreeXL
    is not given it), an empty LABEL."""
    return workbook_stream([("Formatos", {
        (1, 1): Number(45382, xf=16), (1, 2): Label(""),
        (2, 1): Number(45382, xf=17), (2, 2): Rk(2),
        (3, 1): Number(2.5, xf=18), (3, 2): Text("tres"),
    })], formats=[(164, "yyyy-mm-dd"), (165, "")], xfs=[0] * 16 + [14, 164, 165])


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

    # Long texts in A1 spread over several CONTINUE records; B1 holds the
    # length.
    for n in (16500, 20000, 32767):
        write("a1-text-%d.xls" % n, compound_file(workbook_stream([("Largo", {
            (1, 1): Text(numbered(n)), (1, 2): Rk(n)})])))
    write("string-table-split.xls", compound_file(workbook_stream([("Partes", SPLIT_TEXTS)], sst_limit=40)))
    for name, stream in damaged_string_tables().items():
        write(name, compound_file(stream, mini=name == "records-after-zeros.xls"))
    write("formats.xls", compound_file(formats_stream()))
    # An Excel 5 workbook in the Cyrillic code page.
    write("excel5-cyrillic.xls", compound_file(biff5_stream("\u041b\u0438\u0441\u0442", {
        (1, 1): "\u0442\u0435\u043a\u0441\u0442", (1, 2): 1.5, (2, 1): "", (2, 2): "\u0416"}, 1251),
        stream_name="Book"))
    # More cell formats than FreeXL keeps.
    write("formats-8193.xls", compound_file(workbook_stream([("Hoja1", {(1, 1): Rk(1)})], xfs=[0] * 8193)))


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--seeds":
        write_seeds(sys.argv[2])
    elif len(sys.argv) == 1:
        main()
    else:
        sys.exit("usage: make-xls-fixtures.py [--seeds FOLDER]")
