#!/usr/bin/env python3
# The manifest embedded in the program file (its RT_MANIFEST resource, plain
# text in the resource section) declares what Windows is to read from it, in
# the namespaces Windows reads it from: a wrong namespace is ignored there.
#   embedded-manifest.py PROGRAM.exe
import re
import sys
import xml.etree.ElementTree as ET

found = re.findall(rb'<\?xml[^>]*\?>\s*<assembly\b.*?</assembly>', open(sys.argv[1], 'rb').read(), re.S)
if len(found) != 1:
    sys.exit(f'{sys.argv[1]}: {len(found)} embedded manifests, expected 1')
root = ET.fromstring(found[0])
SETTINGS = './{urn:schemas-microsoft-com:asm.v3}application/{urn:schemas-microsoft-com:asm.v3}windowsSettings/'
# One row per declaration: where it sits, the attribute read (None: the
# element's text) and the value. DPI awareness, per-monitor v2 first with
# the older forms as fallback; beside it the settings the program had.
ROWS = [
    (SETTINGS + '{http://schemas.microsoft.com/SMI/2016/WindowsSettings}dpiAwareness', None, 'PerMonitorV2, PerMonitor'),
    (SETTINGS + '{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware', None, 'true/pm'),
    (SETTINGS + '{http://schemas.microsoft.com/SMI/2019/WindowsSettings}activeCodePage', None, 'UTF-8'),
    ('.//{urn:schemas-microsoft-com:asm.v3}requestedExecutionLevel', 'level', 'asInvoker'),
]
failed = False
for path, attribute, expected in ROWS:
    element = root.find(path)
    value = None if element is None else (element.get(attribute) if attribute else (element.text or '').strip())
    if value != expected:
        print(f'{path}{"@" + attribute if attribute else ""}: {value!r}, expected {expected!r}')
        failed = True
sys.exit(1 if failed else 0)
