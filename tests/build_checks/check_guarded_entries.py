#!/usr/bin/env python3
"""Every function the monitor hands to the system goes through the exception
guard: the spooler's function table and the port page's MONITORUI name only
Guarded... functions (or null), and each of those runs GuardedEntry or
GuardedStatus. Exits 1 naming each entry that does not."""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
failures = []

table = (root / "monitor/win32/monitor_entry.cpp").read_text()
for field, value in re.findall(r"table\.(pfn\w+)\s*=\s*(\w+);", table):
    if value != "nullptr" and not value.startswith("Guarded"):
        failures.append(f"monitor_entry.cpp: {field} = {value} is not guarded")
if "table.pfn" not in table:
    failures.append("monitor_entry.cpp: no function table found")

ui = (root / "monitor/win32/monitor_ui.cpp").read_text()
match = re.search(r"MONITORUI g_monitorUi = \{sizeof\(MONITORUI\),([^}]*)\}", ui)
if not match:
    failures.append("monitor_ui.cpp: no MONITORUI table found")
else:
    for value in (v.strip() for v in match.group(1).split(",")):
        if not value.startswith("Guarded"):
            failures.append(f"monitor_ui.cpp: {value} is not guarded")

for name, text in (("monitor_entry.cpp", table), ("monitor_ui.cpp", ui)):
    for function, body in re.findall(r"WINAPI (Guarded\w+)\([^)]*\)\s*\{(.*?)\n\}", text, re.S):
        if "GuardedEntry(" not in body and "GuardedStatus(" not in body:
            failures.append(f"{name}: {function} does not run its body through the guard")

entry = re.search(r"InitializePrintMonitor2\([^)]*\)\s*\{(.*?)\n\}", table, re.S)
if not entry or "GuardedEntry(" not in entry.group(1):
    failures.append("monitor_entry.cpp: InitializePrintMonitor2 is not guarded")

for failure in failures:
    print(failure)
print("guarded entries:", "FAILED" if failures else "every entry point of the monitor is guarded")
sys.exit(1 if failures else 0)
