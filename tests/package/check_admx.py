#!/usr/bin/env python3
"""The administrative template as a package holds it: Lumeyra.admx with
en-US/Lumeyra.adml and ru-RU/Lumeyra.adml in FOLDER, each well-formed XML;
one machine policy for each VALUE, writing that value under the policy key;
and every text and presentation the template names, in both languages.

    check_admx.py FOLDER VALUE...
"""
import re
import sys
import xml.etree.ElementTree as ET

NS = {"p": "http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions"}
KEY = "SOFTWARE\\Policies\\Lumeyra"
LANGUAGES = ("en-US", "ru-RU")


def main():
    folder, values = sys.argv[1], sys.argv[2:]
    errors = []
    try:
        with open(f"{folder}/Lumeyra.admx", encoding="utf-8") as f:
            text = f.read()
        admx = ET.fromstring(text)
        admls = {lang: ET.parse(f"{folder}/{lang}/Lumeyra.adml").getroot() for lang in LANGUAGES}
    except (OSError, ET.ParseError) as e:
        print(f"check_admx: {e}")
        return 1

    # The value each policy writes: its own, or that of its one element.
    written = {}
    for policy in admx.findall("p:policies/p:policy", NS):
        name = policy.get("name")
        names = [policy.get("valueName")] + [e.get("valueName") for e in policy.find("p:elements", NS) or []]
        names = [n for n in names if n]
        if policy.get("key") != KEY or policy.get("class") != "Machine" or len(names) != 1:
            errors.append(f"policy {name}: key {policy.get('key')}, class {policy.get('class')}, values {names}")
            continue
        written[names[0]] = name
    for value in values:
        if value not in written:
            errors.append(f"no policy writes {KEY}\\{value}")
    for value in written:
        if value not in values:
            errors.append(f"a policy writes {value}, which the program does not read")

    for lang, adml in admls.items():
        strings = {s.get("id") for s in adml.findall("p:resources/p:stringTable/p:string", NS)}
        presentations = {p.get("id") for p in adml.findall("p:resources/p:presentationTable/p:presentation", NS)}
        for kind, ident in re.findall(r"\$\((string|presentation)\.([\w.]+)\)", text):
            if ident not in (strings if kind == "string" else presentations):
                errors.append(f"{lang}: no {kind} {ident}")

    for error in errors:
        print(f"check_admx: {folder}: {error}")
    if not errors:
        print(f"check_admx: {folder}: {len(written)} policies, {', '.join(LANGUAGES)}")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
