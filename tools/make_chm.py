#!/usr/bin/env python3
"""Compiles an HTML Help project (.hhp) into a .CHM file.

A small compiler of our own instead of Debian's chmcmd: chmcmd leaves a
context numbered 0 out of the file's context map (the program opens help at
0 from its icon's menu and from F1) and writes the build machine's absolute
paths into the file. This one writes every file uncompressed into the
container's first section, which every reader accepts, and produces the same
bytes from the same sources on any machine.

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

CODE_PAGES = {0x409: "cp1252", 0x419: "cp1251", 0x422: "cp1251"}
CHUNK = 0x1000


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


def system_file(options, lcid, code_page):
    """#SYSTEM: the title, the start page, the contents and index files."""

    def text(s):
        return s.encode(code_page) + b"\0"

    records = []

    def add(code, data):
        records.append(struct.pack("<HH", code, len(data)) + data)

    if "contents file" in options:
        add(0, text(options["contents file"]))
    if "index file" in options:
        add(1, text(options["index file"]))
    add(2, text(options["default topic"]))
    add(3, text(options["title"]))
    # Language, no DBCS, no full-text search, no keyword links, no timestamp.
    add(4, struct.pack("<IIIIIQII", lcid, 0, 0, 0, 0, 0, 0, 0))
    add(6, text(os.path.splitext(options.get("compiled file", "help.chm"))[0]))
    # The version string Microsoft's compiler writes; viewers look at it to
    # decide which features the file may use.
    add(9, text("HHA Version 4.74.8702"))
    return struct.pack("<I", 3) + b"".join(records)


def context_files(contexts):
    """#IVB (context number -> offset in #STRINGS) and #STRINGS."""
    strings = bytearray(b"\0")
    pairs = []
    for number, page in sorted(contexts.items()):
        pairs.append(struct.pack("<II", number, len(strings)))
        strings += page.encode("ascii") + b"\0"
    ivb = b"".join(pairs)
    return struct.pack("<I", len(ivb)) + ivb, bytes(strings)


def name_list():
    """::DataSpace/NameList: the one section, stored uncompressed."""
    name = "Uncompressed"
    body = struct.pack("<H", len(name)) + name.encode("utf-16-le") + b"\0\0"
    words = (4 + len(body)) // 2
    return struct.pack("<HH", words, 1) + body


def pmgl_chunk(entries):
    """The directory's one listing chunk; each entry is (name, offset, length)."""
    density = 2  # a quick-reference offset every 1 + 2**density entries
    step = 1 + (1 << density)
    body, quickrefs = bytearray(), []
    for i, (name, offset, length) in enumerate(entries):
        if i and i % step == 0:
            quickrefs.append(len(body))
        raw = name.encode("utf-8")
        body += encint(len(raw)) + raw + encint(0) + encint(offset) + encint(length)
    tail = b"".join(struct.pack("<H", q) for q in reversed(quickrefs)) + struct.pack("<H", len(entries))
    free = CHUNK - 0x14 - len(body)
    if free < len(tail):
        sys.exit("too many files for one directory chunk")
    header = b"PMGL" + struct.pack("<IIii", free, 0, -1, -1)
    return header + bytes(body) + b"\0" * (free - len(tail)) + tail


def write_chm(out_path, files, lcid):
    """files: {name in the container: bytes}."""
    # Listing order is the readers' search order: case-insensitive.
    content = bytearray()
    entries = [("/", 0, 0)]
    for name in sorted(files, key=lambda n: n.lower()):
        entries.append((name, len(content), len(files[name])))
        content += files[name]
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
    ivb, strings = context_files(contexts)
    files["/#SYSTEM"] = system_file(options, lcid, code_page)
    files["/#IVB"] = ivb
    files["/#STRINGS"] = strings
    files["::DataSpace/NameList"] = name_list()
    write_chm(args.output, files, lcid)


if __name__ == "__main__":
    main()
