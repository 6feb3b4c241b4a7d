#!/usr/bin/python3
"""Reads Quorvex.exe back: a 64-bit GUI executable that imports only Windows' own DLLs, with the program
icon (32 x 32 and 16 x 16) as its first icon group, the application manifest (per-monitor DPI aware) and
the version information, whose copyright line says what packaging/copyright says. With --stripped, it
carries no symbols (a Release build).

    check_executable.py [--stripped] Quorvex.exe assets/quorvex.ico packaging/copyright
Prints what it checked; exits 1 with every difference when something is not as it should be.
"""
import re
import struct
import sys

import pefile

WINDOWS_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "winmm.dll", "shell32.dll", "msvcrt.dll",
                "advapi32.dll", "ucrtbase.dll"}
STRINGS = {"FileDescription": "Quorvex", "FileVersion": "1.00", "ProductVersion": "1.00",
           "ProductName": "Quorvex", "InternalName": "Quorvex", "OriginalFilename": "Quorvex.exe"}

problems = []


def expect(condition, what):
    if not condition:
        problems.append(what)


def resource(pe, type_id):
    for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if entry.id == type_id:
            return entry
    return None


def data_of(pe, name_entry):
    language = name_entry.directory.entries[0]
    return pe.get_data(language.data.struct.OffsetToData, language.data.struct.Size)


def copyright_line(copyright_path):
    """'Copyright: 2026 The Quorvex developers' in the Debian file is 'Copyright (C) 2026 The Quorvex
    developers' in the executable."""
    with open(copyright_path, encoding="utf-8") as f:
        found = re.search(r"^Copyright: (.+)$", f.read(), re.MULTILINE)
    return "Copyright (C) " + found.group(1).strip() if found else None


def main(path, ico_path, copyright_path, stripped):
    pe = pefile.PE(path)
    expect(pe.FILE_HEADER.Machine == 0x8664, "not a 64-bit executable")
    expect(pe.OPTIONAL_HEADER.Subsystem == 2, f"subsystem {pe.OPTIONAL_HEADER.Subsystem}, not the GUI's (2)")

    imports = sorted(entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT)
    print("imports:", ", ".join(imports))
    foreign = [dll for dll in imports if dll not in WINDOWS_DLLS and not dll.startswith("api-ms-win-crt-")]
    expect(not foreign, f"imports DLLs that Windows does not have: {foreign}")

    fixed = pe.VS_FIXEDFILEINFO[0]
    for name in ("File", "Product"):
        ms, ls = getattr(fixed, name + "VersionMS"), getattr(fixed, name + "VersionLS")
        version = (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
        print(f"{name.upper()}VERSION", ",".join(map(str, version)))
        expect(version == (1, 0, 0, 0), f"{name.upper()}VERSION is {version}, not 1,0,0,0")
    tables, translation = {}, None
    for info in pe.FileInfo[0]:
        if info.Key == b"StringFileInfo":
            for table in info.StringTable:
                tables[table.LangID.decode().upper()] = {k.decode(): v.decode() for k, v in table.entries.items()}
        elif info.Key == b"VarFileInfo":
            for var in info.Var:
                translation = var.entry.get(b"Translation")
    expect(list(tables) == ["040904B0"], f"string tables {list(tables)}, not 040904B0 alone")
    strings = tables.get("040904B0", {})
    expected = dict(STRINGS, LegalCopyright=copyright_line(copyright_path))
    for key, value in expected.items():
        print(f"{key} = {strings.get(key)!r}")
        expect(strings.get(key) == value, f"{key} is {strings.get(key)!r}, not {value!r}")
    print("Translation", translation)
    expect(translation == "0x0409 0x04b0", f"Translation is {translation}, not 0x0409, 0x04B0")

    groups = resource(pe, pefile.RESOURCE_TYPE["RT_GROUP_ICON"])
    expect(groups is not None, "no icon group")
    if groups is not None:
        first = min(groups.directory.entries, key=lambda e: (e.id is None, e.id or 0))
        data = data_of(pe, first)
        _, kind, count = struct.unpack_from("<HHH", data, 0)
        sizes = sorted((data[6 + 14 * i] or 256) for i in range(count))
        print("first icon group:", first.id, "sizes", sizes)
        expect(kind == 1 and sizes == [16, 32], f"the first icon group holds {sizes}, not 16 and 32")
        # Each image is the program icon's own, byte for byte.
        with open(ico_path, "rb") as ico_file:
            ico = ico_file.read()
        drawn = {}
        for i in range(struct.unpack_from("<H", ico, 4)[0]):
            size, length, offset = ico[6 + 16 * i] or 256, *struct.unpack_from("<II", ico, 6 + 16 * i + 8)
            drawn[size] = ico[offset:offset + length]
        images = {e.id: data_of(pe, e) for e in resource(pe, pefile.RESOURCE_TYPE["RT_ICON"]).directory.entries}
        for i in range(count):
            size, image_id = data[6 + 14 * i] or 256, struct.unpack_from("<H", data, 6 + 14 * i + 12)[0]
            expect(images.get(image_id) == drawn.get(size), f"the {size} x {size} image differs from the icon file")

    manifests = resource(pe, pefile.RESOURCE_TYPE["RT_MANIFEST"])
    expect(manifests is not None, "no application manifest")
    if manifests is not None:
        text = data_of(pe, manifests.directory.entries[0]).decode("utf-8")
        expect("Microsoft.Windows.Common-Controls" in text and 'version="6.0.0.0"' in text,
               "the manifest asks for no common controls 6")
        expect('level="asInvoker"' in text, "the manifest does not run the program as the invoker")
        expect("<dpiAwareness" in text and "PerMonitorV2" in text and "true/pm</dpiAware>" in text,
               "the manifest does not declare per-monitor DPI awareness (v2, and true/pm before it)")
        print("manifest: common controls 6, asInvoker, per-monitor DPI aware")

    if stripped:
        debug = [s.Name.rstrip(b"\0").decode() for s in pe.sections if s.Name.startswith(b".debug")]
        symbols = pe.FILE_HEADER.NumberOfSymbols
        print(f"symbols {symbols}, debug sections {debug}")
        expect(symbols == 0 and not debug, f"not stripped: {symbols} symbols, sections {debug}")

    if problems:
        print("FAIL:\n  " + "\n  ".join(problems))
        return 1
    print("PASS: the executable")
    return 0


if __name__ == "__main__":
    arguments = [a for a in sys.argv[1:] if a != "--stripped"]
    sys.exit(main(*arguments, stripped="--stripped" in sys.argv[1:]))
