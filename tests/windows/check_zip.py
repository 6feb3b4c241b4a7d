#!/usr/bin/python3
"""The zip handed to a Windows player holds the executable as built and the read-me, in CRLF lines.

    check_zip.py Quorvex-1.00-windows.zip Quorvex.exe
"""
import sys
import zipfile

archive, exe = sys.argv[1], sys.argv[2]
z = zipfile.ZipFile(archive)
names = sorted(n for n in z.namelist() if not n.endswith('/'))
assert names == ['Quorvex-1.00/Quorvex.exe', 'Quorvex-1.00/README.txt'], names
assert z.read(names[0]) == open(exe, 'rb').read(), 'the zipped executable is not the one built'
text = z.read(names[1]).decode()
assert text.startswith('Quorvex 1.00\r\n') and 'Space' in text, text[:40]
print('zip:', names)
