#!/usr/bin/env python3
# The manifest embedded in the program file (its RT_MANIFEST resource, plain
# text in the resource section) declares what Windows is to read from it, in
# the namespaces Windows reads it from: a wrong namespace is ignored there.
#   embedded-manifest.py PROGRAM.exe
import re
import sys
import xml.etree.ElementTree as ET

# The manifest in the file; a file without one fails here.
root = ET.fromstring(re.search(rb'<\?xml[^>]*\?>\s*<assembly\b.*?</assembly>', open(sys.argv[1], 'rb').read(), re.S)[0])
SETTINGS = './{urn:schemas-microsoft-com:asm.v3}application/{urn:schemas-microsoft-com:asm.v3}windowsSettings/'
# One row per declaration: where it sits and its text. DPI awareness,
# per-monitor v2 first with the older forms as fallback; beside it the
# settings the program had.
ROWS = [
    (SETTINGS + '{http://schemas.microsoft.com/SMI/2016/WindowsSettings}dpiAwareness', 'PerMonitorV2, PerMonitor'),
    (SETTINGS + '{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware', 'true/pm'),
    (SETTINGS + '{http://schemas.microsoft.com/SMI/2019/WindowsSettings}activeCodePage', 'UTF-8'),
    (".//{urn:schemas-microsoft-com:asm.v3}requestedExecutionLevel[@level='asInvoker']", ''),
]


def text(path):
    return None if (element := root.find(path)) is None else (element.text or '').strip()


sys.exit('\n'.join(f'{path}: {text(path)!r}, expected {expected!r}'
                   for path, expected in ROWS if text(path) != expected) or None)
