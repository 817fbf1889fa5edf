#!/usr/bin/python3
"""Reads Lumeyra.CHM back with chmlib, a reader independent of our compiler.

  check_chm.py Lumeyra.CHM [folder that must not be named inside]...

Checks the title and start page, that each context the program opens leads
through the context map to its topic, that every page the contents, the
index and the pages themselves link to is inside, and that no folder of the
build machine is named anywhere in the file. Exits non-zero on a failure.
"""
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

failures = []


def fail(message):
    failures.append(message)
    print("FAIL:", message)


def main():
    path, forbidden = sys.argv[1], sys.argv[2:]
    chm = CHMFile()
    if not chm.LoadCHM(path):
        sys.exit(f"chmlib cannot open {path}")

    def read(name):
        ok, unit = chm.ResolveObject(name.encode())
        if ok != chmlib.CHM_RESOLVE_SUCCESS:
            return None
        size, data = chm.RetrieveObject(unit)
        return data if size == unit.length else None

    names = []
    chmlib.chm_enumerate(chm.file, chmlib.CHM_ENUMERATE_ALL,
                         lambda _f, unit, _c: names.append(unit.path.decode()) or chmlib.CHM_ENUMERATOR_CONTINUE,
                         None)
    print(f"{path}: {len(names)} entries")

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

    # Every link of the contents, the index and the pages resolves inside.
    links = set()
    for name in names:
        if re.search(r"\.(htm|hhc|hhk)$", name):
            text = read(name).decode(ENCODING)
            for target in re.findall(r'(?:href|src|value)="([^"#:]+\.(?:htm|png|css))"', text, re.I):
                links.add("/" + target)
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
