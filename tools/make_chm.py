#!/usr/bin/env python3
"""Compiles an HTML Help project (.hhp) into a .CHM file.

A small compiler of our own instead of Debian's chmcmd: chmcmd leaves a
context numbered 0 out of the file's context map (the program opens help at
0 from its icon's menu and from F1) and writes the build machine's absolute
paths into the file. This one produces the same bytes from the same sources
on any machine, in the layout Microsoft's own compiler writes: two content
sections, "Uncompressed" holding only the container's own files and
"MSCompressed" holding the pages and the viewer's tables (#TOPICS, #URLTBL,
#URLSTR, #IDXHDR, the context map). The second section is an LZX stream made
of LZX's stored blocks, so nothing needs compressing.

Reads the subset of the .hhp format the project uses:
  [OPTIONS]  Title, Default topic, Contents file, Index file, Compiled file,
             Language (e.g. 0x419 Russian)
  [FILES]    the pages and pictures to pack, relative to the project
  [MAP]      "#define NAME number" lines
  [ALIAS]    "NAME=page.htm" lines
The pages, contents and index are UTF-8 in the sources and are written in
the ANSI code page of the project's language (1251 for Russian and
Ukrainian), in which the viewer reads them. A file not beside the project is
looked for in the --search folders (the screenshots in docs/).

  make_chm.py project.hhp output.chm [--search DIR]... [--contexts 0,2,3]

--contexts keeps only these numbers in the context map: a probe that shows
which number a caller asks for, since the viewer opens only for mapped ones.
"""
import argparse
import os
import re
import struct
import sys
import zlib

CODE_PAGES = {0x409: "cp1252", 0x419: "cp1251", 0x422: "cp1251"}
CHUNK = 0x1000
PAGE = 0x1000  # the viewer reads its tables a page at a time: no record may straddle one
FRAME = 0x8000  # LZX frame, the unit the reset table addresses
RESET_FRAMES = 2  # the decoder starts afresh every this many frames
LZX_GUID = "{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}"
MSCOMPRESSED = "::DataSpace/Storage/MSCompressed/"


def encint(n):
    """The container's variable-length integer: 7 bits a byte, big end first."""
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.append(0x80 | (n & 0x7F))
        n >>= 7
    return bytes(reversed(out))


def guid(text):
    a, b, c, d, e = text.split("-")
    return struct.pack("<IHH", int(a, 16), int(b, 16), int(c, 16)) + bytes.fromhex(d + e)


def read_project(path):
    sections = {}
    current = None
    with open(path, encoding="utf-8") as f:
        for raw in f:
            line = raw.strip()
            if not line or line.startswith(";"):
                continue
            m = re.fullmatch(r"\[(\w+)\]", line)
            if m:
                current = sections.setdefault(m.group(1).upper(), [])
            elif current is not None:
                current.append(line)
    options = {}
    for line in sections.get("OPTIONS", []):
        key, _, value = line.partition("=")
        options[key.strip().lower()] = value.strip()
    names = {}
    for line in sections.get("MAP", []):
        m = re.fullmatch(r"#define\s+(\w+)\s+(\d+)", line)
        if not m:
            sys.exit(f"{path}: bad [MAP] line: {line}")
        names[m.group(1)] = int(m.group(2))
    contexts = {}
    for line in sections.get("ALIAS", []):
        name, _, page = line.partition("=")
        if name.strip() not in names:
            sys.exit(f"{path}: alias of an unmapped name: {line}")
        contexts[names[name.strip()]] = page.strip()
    return options, sections.get("FILES", []), contexts


class Table(bytearray):
    """One of the viewer's tables, whose records never straddle a page."""

    def place(self, record):
        while len(self) // PAGE != (len(self) + len(record) - 1) // PAGE:
            self.append(0)
        offset = len(self)
        self += record
        return offset


class Strings(Table):
    """#STRINGS: NUL-terminated strings, offset 0 being the empty one."""

    def __init__(self):
        super().__init__(b"\0")
        self.known = {}

    def add(self, text):
        if text not in self.known:
            self.known[text] = self.place(text + b"\0")
        return self.known[text]


def url_hash(name):
    """The key #URLTBL is sorted by, as Microsoft's compiler computes it."""
    h = 0
    for c in name:
        c = c - 256 if c > 127 else c  # a signed char
        h = (h * 43 + (0x2C if c == ord("/") else c - 0x30 if c <= ord("Z") else c - 0x50)) & 0xFFFFFFFF
    return h or 1


def topic_files(topics, strings):
    """#TOPICS, #URLTBL and #URLSTR: one topic for each page, with its title.

    topics: [(page name, title bytes, listed in the contents)], in order."""
    urlstr, entries = Table(b"\0"), []
    for index, (page, title, in_contents) in enumerate(topics):
        # No URL, no frame, then the page.
        at = urlstr.place(struct.pack("<II", 0, 0) + page.encode("ascii") + b"\0")
        entries.append((url_hash(page.encode("ascii")), index, at))
    urltbl, at_of = Table(), {}
    for h, index, at in sorted(entries):
        at_of[index] = urltbl.place(struct.pack("<III", h, index, at))
    topics_table = Table()
    for index, (page, title, in_contents) in enumerate(topics):
        # No binary contents entry; 6 marks a topic of the contents, 2 one outside.
        topics_table.place(struct.pack("<IIIHH", 0, strings.add(title), at_of[index], 6 if in_contents else 2, 0))
    return bytes(topics_table), bytes(urltbl), bytes(urlstr)


def idxhdr(topic_count, stamp):
    """#IDXHDR: one page; zero offsets name the empty string (no font, window, frame)."""
    head = b"T#SM" + struct.pack("<III", stamp, 1, topic_count)
    head += bytes(0x44 - len(head)) + struct.pack("<I", 1)
    return head + bytes(PAGE - len(head))


def system_file(options, lcid, code_page, index_header, stamp):
    """#SYSTEM: the title, the start page, the contents and index files, and
    the records Microsoft's compiler always writes, in its order."""

    def text(s):
        return s.encode(code_page) + b"\0"

    records = []

    def add(code, data):
        records.append(struct.pack("<HH", code, len(data)) + data)

    add(10, struct.pack("<I", stamp))  # a stamp of the build: ours follows the contents
    # The version string Microsoft's compiler writes; viewers look at it to
    # decide which features the file may use.
    add(9, text("HHA Version 4.74.8702"))
    # Language, no DBCS, no full-text search, no keyword links, no timestamp.
    add(4, struct.pack("<IIIIIQII", lcid, 0, 0, 0, 0, 0, 0, 0))
    if "contents file" in options:
        add(0, text(options["contents file"]))
    if "index file" in options:
        add(1, text(options["index file"]))
    add(2, text(options["default topic"]))
    add(3, text(options["title"]))
    add(6, text(os.path.splitext(options.get("compiled file", "help.chm"))[0]))
    add(12, struct.pack("<I", 0))  # no information types
    add(13, index_header)
    add(15, struct.pack("<I", 0))  # and their checksum
    return struct.pack("<I", 3) + b"".join(records)


def context_files(contexts, strings):
    """#IVB: context number -> offset of its page in #STRINGS."""
    ivb = b"".join(struct.pack("<II", n, strings.add(page.encode("ascii"))) for n, page in sorted(contexts.items()))
    return struct.pack("<I", len(ivb)) + ivb


def name_list():
    """::DataSpace/NameList: the stored section and the LZX one."""
    body = b""
    for name in ("Uncompressed", "MSCompressed"):
        body += struct.pack("<H", len(name)) + name.encode("utf-16-le") + b"\0\0"
    return struct.pack("<HH", (4 + len(body)) // 2, 2) + body


class Bits:
    """LZX's bit order: bits fill 16-bit little-endian words from the top."""

    def __init__(self):
        self.out, self.word, self.count = bytearray(), 0, 0

    def put(self, value, width):
        for i in reversed(range(width)):
            self.word = self.word << 1 | (value >> i) & 1
            self.count += 1
            if self.count == 16:
                self.out += struct.pack("<H", self.word)
                self.word, self.count = 0, 0

    def align(self):
        """A stored block's header is followed by 1 to 16 bits of padding."""
        self.put(0, 16 - self.count)
        return bytes(self.out)


def lzx_stored(data):
    """The section as an LZX stream of stored blocks, one per frame; returns
    the stream and where each frame starts in it. The data is padded to whole
    frames: decoders expect every frame's block to fill the frame."""
    data += bytes(-len(data) % FRAME)
    stream, starts = bytearray(), []
    for frame, at in enumerate(range(0, len(data), FRAME)):
        block = data[at : at + FRAME]
        starts.append(len(stream))
        bits = Bits()
        if frame % RESET_FRAMES == 0:
            bits.put(0, 1)  # after each reset: no x86 call translation
        bits.put(3, 3)  # a stored block
        bits.put(len(block) >> 8, 16)
        bits.put(len(block) & 0xFF, 8)
        stream += bits.align()
        stream += struct.pack("<III", 1, 1, 1)  # the repeated offsets R0, R1, R2
        stream += block + bytes(len(block) & 1)
    return bytes(stream), starts


def pmgl_chunk(entries):
    """The directory's one listing chunk; each entry is (name, section, offset, length)."""
    density = 2  # a quick-reference offset every 1 + 2**density entries
    step = 1 + (1 << density)
    body, quickrefs = bytearray(), []
    for i, (name, section, offset, length) in enumerate(entries):
        if i and i % step == 0:
            quickrefs.append(len(body))
        raw = name.encode("utf-8")
        body += encint(len(raw)) + raw + encint(section) + encint(offset) + encint(length)
    tail = b"".join(struct.pack("<H", q) for q in reversed(quickrefs)) + struct.pack("<H", len(entries))
    free = CHUNK - 0x14 - len(body)
    if free < len(tail):
        sys.exit("too many files for one directory chunk")
    header = b"PMGL" + struct.pack("<IIii", free, 0, -1, -1)
    return header + bytes(body) + b"\0" * (free - len(tail)) + tail


def compressed_section(files1):
    """Lays the second section's files end to end; returns their places and
    the first section's files that describe and hold the LZX stream."""
    content, places = bytearray(), {}
    for name in sorted(files1, key=str.lower):
        places[name] = (len(content), len(files1[name]))
        content += files1[name]
    stream, starts = lzx_stored(bytes(content))
    size = len(content)
    reset_table = struct.pack("<IIIIQQQ", 2, len(starts), 8, 0x28, size, len(stream), FRAME)
    reset_table += b"".join(struct.pack("<Q", s) for s in starts)
    # As Microsoft writes them, in this order (Transform/List cut short too):
    # LZX version 2, a reset every 2 frames, a window of 2 frames.
    files0 = {
        "::DataSpace/NameList": name_list(),
        MSCOMPRESSED + "Transform/List": LZX_GUID.encode("utf-16-le")[:0x26],
        MSCOMPRESSED + "SpanInfo": struct.pack("<Q", size),
        MSCOMPRESSED + "ControlData": struct.pack("<I", 6) + b"LZXC" + struct.pack("<IIIII", 2, RESET_FRAMES, 2, 1, 0),
        MSCOMPRESSED + "Content": stream,
        MSCOMPRESSED + "Transform/" + LZX_GUID + "/InstanceData/ResetTable": reset_table,
    }
    return places, files0


def write_chm(out_path, files0, files1, lcid):
    """files0, files1: {name in the container: bytes} of each section."""
    places, lzx_files = compressed_section(files1)
    content = bytearray()
    entries = [("/", 0, 0, 0)]
    for name, data in list(files0.items()) + list(lzx_files.items()):
        entries.append((name, 0, len(content), len(data)))
        content += data
    entries += [(name, 1, offset, length) for name, (offset, length) in places.items()]
    # Listing order is the readers' search order: case-insensitive.
    entries.sort(key=lambda e: e[0].lower())
    # One listing chunk, no index chunk: depth 1, no root, chunk 0 first and last.
    directory = b"ITSP" + struct.pack("<IIIIiIiiiiII", 1, 0x54, 0x0A, CHUNK, 2, 1, -1, 0, 0, -1, 1, lcid)
    directory += guid("5D02926A-212E-11D0-9DF9-00A0C922E6EC") + struct.pack("<Iiii", 0x54, -1, -1, -1)
    directory += pmgl_chunk(entries)

    header_len = 0x60
    section0_off = header_len
    section0_len = 0x18
    dir_off = section0_off + section0_len
    content_off = dir_off + len(directory)
    total = content_off + len(content)
    itsf = b"ITSF" + struct.pack("<IIII", 3, header_len, 1, 0) + struct.pack("<I", lcid)
    itsf += guid("7C01FD10-7BAA-11D0-9E0C-00A0C922E6EC") + guid("7C01FD11-7BAA-11D0-9E0C-00A0C922E6EC")
    itsf += struct.pack("<QQQQQ", section0_off, section0_len, dir_off, len(directory), content_off)
    section0 = struct.pack("<IIQII", 0x01FE, 0, total, 0, 0)
    data = itsf + section0 + directory + content
    assert len(data) == total
    with open(out_path, "wb") as f:
        f.write(data)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("project")
    parser.add_argument("output")
    parser.add_argument("--search", action="append", default=[])
    parser.add_argument("--contexts")
    args = parser.parse_args()

    options, file_list, contexts = read_project(args.project)
    lcid = int(options.get("language", "0x409").split()[0], 16)
    code_page = CODE_PAGES.get(lcid, "cp1252")
    for number, page in contexts.items():
        if page not in file_list:
            sys.exit(f"{args.project}: context {number} names {page}, which is not in [FILES]")
    if args.contexts is not None:
        keep = {int(n) for n in args.contexts.split(",")}
        if not keep <= contexts.keys():
            sys.exit(f"{args.project} maps no context {sorted(keep - contexts.keys())}")
        contexts = {n: p for n, p in contexts.items() if n in keep}

    folders = [os.path.dirname(os.path.abspath(args.project))] + args.search
    files = {}
    for name in file_list + [options.get("contents file"), options.get("index file")]:
        if not name or "/" + name in files:
            continue
        found = [os.path.join(d, name) for d in folders if os.path.isfile(os.path.join(d, name))]
        if not found:
            sys.exit(f"{args.project}: {name} not found")
        with open(found[0], "rb") as f:
            data = f.read()
        if os.path.splitext(name)[1].lower() in (".htm", ".html", ".hhc", ".hhk", ".css"):
            data = data.decode("utf-8").encode(code_page)
        files["/" + name] = data
    strings = Strings()
    files["/#IVB"] = context_files(contexts, strings)
    contents = files.get("/" + options.get("contents file", ""), b"")
    topics = []
    for name in file_list:
        if os.path.splitext(name)[1].lower() in (".htm", ".html"):
            title = re.search(rb"<title>(.*?)</title>", files["/" + name], re.I | re.S)
            if not title:
                sys.exit(f"{name} has no <title>")
            topics.append((name, title.group(1), f'value="{name}"'.encode() in contents))
    files["/#TOPICS"], files["/#URLTBL"], files["/#URLSTR"] = topic_files(topics, strings)
    files["/#STRINGS"] = bytes(strings)
    # The stamp Microsoft's compiler takes from the clock, from the contents
    # here: it changes with them and the same sources give the same file.
    stamp = zlib.crc32(b"".join(files[n] for n in sorted(files)))
    files["/#IDXHDR"] = idxhdr(len(topics), stamp)
    # Only the container's own files stay outside the LZX section.
    files0 = {"/#ITBITS": b"", "/#SYSTEM": system_file(options, lcid, code_page, files["/#IDXHDR"], stamp)}
    write_chm(args.output, files0, files, lcid)


if __name__ == "__main__":
    main()
