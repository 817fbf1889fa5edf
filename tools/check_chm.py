#!/usr/bin/python3
"""Reads Lumeyra.CHM back with readers independent of our compiler.

  check_chm.py Lumeyra.CHM --project Lumeyra.hhp [--search DIR]... [--forbid DIR]...

Checks that chmlib, libmspack and 7-Zip each read every file of the project
back byte for byte; that the file is laid out as Microsoft's compiler lays
it out (only the container's own files in the stored section, the rest in
the LZX one, the viewer's topic tables, the #SYSTEM records it always
writes, no table record across a 4 KB page); the title and start page; that
each context the program opens leads through the context map to its topic;
that every page the contents, the index and the pages themselves link to is
inside, and that every page links to all the others; and that no folder of the build machine is named anywhere in the
file. Exits non-zero on a failure.
"""
import argparse
import os
import shutil
import subprocess
import tempfile
import re
import struct
import sys

from chm import chmlib
from chm.chm import CHMFile

# The topic each help context of the program must open, and its heading.
TOPICS = {
    0: ("/program.htm", "Lumeyra"),
    1: ("/window.htm", "Окно с очками"),
    2: ("/settings.htm", "Настройки и пароль"),
    3: ("/rest-prompt.htm", "Предложение отдохнуть"),
    4: ("/rest-timer.htm", "Окно времени отдыха"),
}
ENCODING = "cp1251"
TEXT = (".htm", ".hhc", ".hhk", ".css")
MSCOMPRESSED = "::DataSpace/Storage/MSCompressed/"
RESET_TABLE = MSCOMPRESSED + "Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable"

failures = []


def fail(message):
    failures.append(message)
    print("FAIL:", message)


def project_files(project, search):
    """What the help project packs, as the file must hold it: {name: bytes}."""
    names, section = [], None
    for line in open(project, encoding="utf-8"):
        line = line.strip()
        if line.startswith("["):
            section = line
        elif line and not line.startswith(";"):
            if section == "[FILES]":
                names.append(line)
            elif section == "[OPTIONS]" and line.split("=")[0] in ("Contents file", "Index file"):
                names.append(line.split("=", 1)[1].strip())
    expected = {}
    for name in names:
        path = next(p for p in (os.path.join(d, name) for d in [os.path.dirname(project)] + search) if os.path.isfile(p))
        data = open(path, "rb").read()
        expected["/" + name] = data.decode().encode(ENCODING) if name.lower().endswith(TEXT) else data
    return expected


def read_mspack(path, work):
    """Every file as libmspack reads it, with a few lines of C built here."""
    tool = os.path.join(work, "chm_mspack")
    source = os.path.join(os.path.dirname(os.path.abspath(__file__)), "chm_mspack.c")
    subprocess.run(["cc", "-O", "-o", tool, source, "-lmspack"], check=True)
    out = os.path.join(work, "mspack")
    os.mkdir(out)
    run = subprocess.run([tool, path, out], capture_output=True, text=True)
    if run.returncode:
        fail(f"libmspack: {run.stderr.strip()}")
    names = run.stdout.splitlines()
    return {n: open(os.path.join(out, str(i)), "rb").read() for i, n in enumerate(names)
            if os.path.exists(os.path.join(out, str(i)))}


def read_7zip(path, work):
    """Every file as 7-Zip reads it."""
    out = os.path.join(work, "7zip")
    tool = shutil.which("7zz") or shutil.which("7z")
    run = subprocess.run([tool, "x", "-y", "-o" + out, path], capture_output=True, text=True)
    if run.returncode:
        errors = [line for line in (run.stdout + run.stderr).splitlines() if "ERROR" in line]
        fail(f"7-Zip: {'; '.join(errors) or run.stderr.strip()}")
    files = {}
    for folder, _, names in os.walk(out):
        for name in names:
            full = os.path.join(folder, name)
            files["/" + os.path.relpath(full, out)] = open(full, "rb").read()
    return files


def check_readers(readers, expected):
    """Every reader gives every file of the project, and all give the same bytes."""
    for reader, files in readers.items():
        for name, data in expected.items():
            if name not in files:
                fail(f"{reader} finds no {name}")
            elif files[name] != data:
                fail(f"{reader} reads {name} other than its source ({len(files[name])} bytes of {len(data)})")
        for name, data in readers["chmlib"].items():
            if name.startswith("/") and files.get(name) != data:
                fail(f"{reader} and chmlib differ on {name}")
    print("readers agree:", ", ".join(f"{r} {len(f)} files" for r, f in readers.items()))


def whole(offset, length, table):
    if offset // 4096 != (offset + length - 1) // 4096:
        fail(f"a record of {table} at {offset:#x} crosses a 4 KB page")


def string_at(strings, offset):
    end = strings.find(b"\0", offset)
    whole(offset, end + 1 - offset, "#STRINGS")
    return strings[offset:end]


def check_layout(units, read, expected):
    """The two sections as Microsoft's compiler fills them."""
    for name, (space, _, _) in sorted(units.items()):
        own = name in ("/", "/#ITBITS", "/#SYSTEM") or name.startswith("::DataSpace/")
        if space != (0 if own else 1):
            fail(f"{name} is in section {space}")
    if units.get("/#ITBITS", (1, 0, 1))[::2] != (0, 0):
        fail(f"#ITBITS is {units.get('/#ITBITS')}, not empty in section 0")
    names = read("::DataSpace/NameList") or b"\0" * 4
    sections, at = [], 4
    for _ in range(struct.unpack_from("<H", names, 2)[0]):
        (n,) = struct.unpack_from("<H", names, at)
        sections.append(names[at + 2 : at + 2 + 2 * n].decode("utf-16-le"))
        at += 4 + 2 * n
    if sections != ["Uncompressed", "MSCompressed"]:
        fail(f"sections {sections}")
    control = struct.pack("<I", 6) + b"LZXC" + struct.pack("<IIIII", 2, 2, 2, 1, 0)
    if read(MSCOMPRESSED + "ControlData") != control:
        fail(f"ControlData {read(MSCOMPRESSED + 'ControlData')}")
    if read(MSCOMPRESSED + "Transform/List") is None:
        fail("no Transform/List")
    size = max((start + length for space, start, length in units.values() if space == 1), default=0)
    span = struct.unpack("<Q", read(MSCOMPRESSED + "SpanInfo") or bytes(8))[0]
    table = read(RESET_TABLE) or bytes(0x28)
    version, frames, entry, header, uncompressed, compressed, frame = struct.unpack_from("<IIIIQQQ", table)
    content = units.get(MSCOMPRESSED + "Content", (0, 0, 0))[2]
    starts = struct.unpack_from(f"<{frames}Q", table, header) if len(table) == header + 8 * frames else ()
    if (version, entry, header, frame) != (2, 8, 0x28, 0x8000) or span != size or uncompressed != size \
            or compressed != content or frames != -(-size // 0x8000) or list(starts) != sorted(starts) \
            or not starts or starts[0] != 0:
        fail(f"SpanInfo {span}, reset table {table[:0x28].hex()} with {len(starts)} frames, for {size} bytes "
             f"in {content}")
    print(f"sections {sections}: {size} bytes in {frames} LZX frames")

    # #SYSTEM: its records, and those the viewer relies on.
    system = read("/#SYSTEM") or bytes(4)
    records, at = {}, 4
    while at + 4 <= len(system):
        code, length = struct.unpack_from("<HH", system, at)
        records[code] = system[at + 4 : at + 4 + length]
        at += 4 + length
    idxhdr = read("/#IDXHDR") or b""
    pages = [n for n in expected if n.endswith(".htm")]
    if not {0, 1, 2, 3, 4, 6, 9, 10, 12, 13, 15} <= records.keys() or records[13] != idxhdr:
        fail(f"#SYSTEM records {sorted(records)}, record 13 {'is' if records.get(13) == idxhdr else 'is not'} #IDXHDR")
    if len(idxhdr) != 4096 or idxhdr[:4] != b"T#SM" or struct.unpack_from("<I", idxhdr, 12)[0] != len(pages):
        fail(f"#IDXHDR {idxhdr[:16].hex()}")

    # One topic for each page, found by its title through the tables.
    topics, urltbl, urlstr = read("/#TOPICS") or b"", read("/#URLTBL") or b"", read("/#URLSTR") or b""
    strings = read("/#STRINGS") or b"\0"
    found = {}
    for index, at in enumerate(range(0, len(topics) - 15, 16)):
        whole(at, 16, "#TOPICS")
        _, title, url, _, _ = struct.unpack_from("<IIIHH", topics, at)
        whole(url, 12, "#URLTBL")
        _, topic, place = struct.unpack_from("<III", urltbl, url)
        end = urlstr.find(b"\0", place + 8)
        whole(place, end + 1 - place, "#URLSTR")
        page = "/" + urlstr[place + 8 : end].decode()
        if topic != index:
            fail(f"topic {index} ({page}) is topic {topic} in #URLTBL")
        found[page] = string_at(strings, title)
    hashes = [struct.unpack_from("<I", urltbl, at)[0] for at in range(0, len(urltbl) - 11, 12)]
    for page in pages:
        title = re.search(rb"<title>(.*?)</title>", expected[page]).group(1)
        if found.get(page) != title:
            fail(f"topic of {page}: {found.get(page)}, not {title}")
    if sorted(found) != sorted(pages) or hashes != sorted(hashes):
        fail(f"topics {sorted(found)}, #URLTBL {'in' if hashes == sorted(hashes) else 'out of'} order")
    print(f"topics: {len(found)}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("path")
    parser.add_argument("--project", required=True)
    parser.add_argument("--search", action="append", default=[])
    parser.add_argument("--forbid", action="append", default=[])
    args = parser.parse_args()
    path, forbidden = args.path, args.forbid
    expected = project_files(args.project, args.search)
    chm = CHMFile()
    if not chm.LoadCHM(path):
        sys.exit(f"chmlib cannot open {path}")

    def read(name):
        ok, unit = chm.ResolveObject(name.encode())
        if ok != chmlib.CHM_RESOLVE_SUCCESS:
            return None
        size, data = chm.RetrieveObject(unit)
        return data if size == unit.length else None

    units = {}
    chmlib.chm_enumerate(chm.file, chmlib.CHM_ENUMERATE_ALL,
                         lambda _f, unit, _c: units.update({unit.path.decode(): (unit.space, unit.start, unit.length)})
                         or chmlib.CHM_ENUMERATOR_CONTINUE, None)
    names = list(units)
    print(f"{path}: {len(names)} entries")
    check_layout(units, read, expected)
    with tempfile.TemporaryDirectory() as work:
        readers = {"chmlib": {n: read(n) for n in names if n.startswith("/") and not n.endswith("/")},
                   "libmspack": read_mspack(path, work), "7-Zip": read_7zip(path, work)}
    check_readers(readers, expected)

    if chm.title.decode(ENCODING) != "Справка Lumeyra":
        fail(f"title {chm.title!r}")
    if chm.home != b"/program.htm":
        fail(f"start page {chm.home!r}")
    if chm.lcid != 0x419 or chm.GetLCID()[0] != b"cp1251":
        fail(f"language {chm.lcid:#x} {chm.GetLCID()}")

    ivb, strings = read("/#IVB"), read("/#STRINGS")
    if ivb is None or strings is None:
        fail("no context map (#IVB, #STRINGS)")
        ivb, strings = b"\0\0\0\0", b"\0"
    (length,) = struct.unpack_from("<I", ivb)
    mapped = {}
    for number, offset in struct.iter_unpack("<II", ivb[4 : 4 + length]):
        mapped[number] = "/" + strings[offset : strings.index(b"\0", offset)].decode()
    for number, (page, heading) in TOPICS.items():
        if mapped.get(number) != page:
            fail(f"context {number} maps to {mapped.get(number)}, not {page}")
        html = read(page)
        if html is None:
            fail(f"topic {page} missing")
        elif f"<h1>{heading}</h1>" not in html.decode(ENCODING):
            fail(f"topic {page} is not headed {heading}")
    print("contexts:", {n: mapped[n] for n in sorted(mapped)})

    # Every link of the contents, the index and the pages resolves inside;
    # every page links to all the others, so that help works without the
    # viewer's panes (unreadable where the ANSI code page is not Cyrillic).
    links = set()
    pages = [name for name in names if name.endswith(".htm")]
    for name in names:
        if re.search(r"\.(htm|hhc|hhk)$", name):
            text = read(name).decode(ENCODING)
            targets = {"/" + t for t in re.findall(r'(?:href|src|value)="([^"#:]+\.(?:htm|png|css))"', text, re.I)}
            links |= targets
            if name in pages:
                for missing in sorted(set(pages) - targets - {name}):
                    fail(f"{name} does not link to {missing}")
    for link in sorted(links):
        if read(link) is None:
            fail(f"link to {link}, which is not inside")
    print(f"links resolved: {len(links)}")

    raw = open(path, "rb").read()
    # The folders given, and the drive through which Wine shows any of them.
    for folder in forbidden + ["Z:\\"]:
        for form in (folder.encode(), folder.encode("utf-16-le")):
            if form in raw:
                fail(f"the file names {folder}")
    if failures:
        sys.exit(1)
    print("OK")


if __name__ == "__main__":
    main()
