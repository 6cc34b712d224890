#!/usr/bin/env python3
"""Snapshots of a Wine prefix for the demo, and the before/after report.

  demo_report.py snapshot <prefix> <uninstaller dir (host path)> <out.json>
  demo_report.py report <before.json> <after.json> <player output> <unmcheck selection> <unmcheck all> <script>
  demo_report.py whatif <before.json> <after what-if.json> <after removal.json> <what-if report>

A snapshot holds the files under drive_c, the registry keys and values of
the prefix (from Wine's registry files), the simulated spooler's printers,
drivers, monitors and print processors, and the files waiting for the
restart. The report lists what the uninstall removed and, for everything of
the package that stayed, why; and it checks that nothing else changed. The
what-if check holds a "/WHATIF" report against the snapshots: the what-if
run changed nothing, and the removal after it removed what it listed.
"""
import json
import os
import re
import sys

# Things Wine itself changes from run to run; they are not the package's.
NOISE = [
    re.compile(r"^file:windows/temp/", re.I),
    re.compile(r"^file:users/[^/]+/temp/", re.I),
    re.compile(r"^file:windows/.*\.log$", re.I),
    re.compile(r"^file:users/[^/]+/appdata/local/temp/", re.I),
    re.compile(r"^reg:(hklm|hkcu)\\software\\wine\\", re.I),
    re.compile(r"^reg:hklm\\system\\currentcontrolset\\services\\eventlog", re.I),
    re.compile(r"^reg:hklm\\system\\currentcontrolset\\control\\session manager", re.I),
    re.compile(r"^reg:hkcu\\software\\microsoft\\windows\\currentversion\\explorer", re.I),
    re.compile(r"^reg:hklm\\software\\microsoft\\windows nt\\currentversion\\perflib", re.I),
    re.compile(r"^reg:hklm\\system\\currentcontrolset\\enum\\root\\legacy_", re.I),
    re.compile(r"^reg:hkcu\\volatile environment", re.I),
    re.compile(r"^reg:hklm\\hardware\\", re.I),
    re.compile(r"^reg:hklm\\system\\currentcontrolset\\control\\class\\\{4d36e968-", re.I),
    re.compile(r"spoolsim\.(ini|journal)$", re.I),
    re.compile(r"pelliv-ran\.txt$", re.I),
]


def read_registry(path, hive):
    entries = {}
    key = None
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            line = line.rstrip("\n")
            m = re.match(r"^\[(.*)\] \d+", line)
            if m:
                key = hive + "\\" + m.group(1).replace("\\\\", "\\")
                # Wine writes a section only for keys with values or without
                # subkeys: every parent exists all the same.
                parts = key.split("\\")
                for i in range(2, len(parts) + 1):
                    entries["reg:" + "\\".join(parts[:i])] = ""
                continue
            if key is None or not line or line.startswith(("#", ";")):
                continue
            m = re.match(r'^(@|"((?:[^"\\]|\\.)*)")=(.*)$', line)
            if m:
                name = "(default)" if m.group(1) == "@" else m.group(2).replace("\\\\", "\\")
                entries["reg:" + key + "\\" + name + "="] = m.group(3)
    return entries


def read_spooler(path):
    state = {"printers": [], "drivers": [], "monitors": [], "processors": []}
    section = None
    kinds = {"printer": "printers", "driver": "drivers", "monitor": "monitors", "printprocessor": "processors"}
    if not os.path.exists(path):
        return state
    with open(path, encoding="latin-1") as f:
        for line in f:
            line = line.strip()
            m = re.match(r"^\[(\w+)\]$", line)
            if m:
                section = kinds.get(m.group(1).lower())
                continue
            if section and line.lower().startswith("name="):
                state[section].append(line[5:].strip())
    return state


def pending_renames(prefix):
    path = os.path.join(prefix, "system.reg")
    text = open(path, encoding="utf-8", errors="replace").read()
    m = re.search(r'"PendingFileRenameOperations"=str\(7\):"([^"]*)"', text)
    if not m:
        return []
    return [p.replace("\\\\", "\\").replace("\\??\\", "") for p in m.group(1).split("\\0") if p]


def snapshot(prefix, uninstaller, out):
    entries = {}
    drive = os.path.join(prefix, "drive_c")
    for root, dirs, files in os.walk(drive):
        rel = os.path.relpath(root, drive).replace(os.sep, "/")
        rel = "" if rel == "." else rel + "/"
        for d in dirs:
            entries["file:" + (rel + d).lower() + "/"] = ""
        for name in files:
            entries["file:" + (rel + name).lower()] = ""
    entries.update(read_registry(os.path.join(prefix, "system.reg"), "HKLM"))
    entries.update(read_registry(os.path.join(prefix, "user.reg"), "HKCU"))
    data = {
        "entries": entries,
        "spooler": read_spooler(os.path.join(uninstaller, "spoolsim.ini")),
        "pending": pending_renames(prefix),
        "winini": open(os.path.join(drive, "windows", "win.ini"), encoding="latin-1").read()
        if os.path.exists(os.path.join(drive, "windows", "win.ini")) else "",
        "vantoini": open(os.path.join(drive, "windows", "vanto.ini"), encoding="latin-1").read()
        if os.path.exists(os.path.join(drive, "windows", "vanto.ini")) else "",
    }
    with open(out, "w") as f:
        json.dump(data, f, indent=0, sort_keys=True)


def read_profile(path):
    """Lists of an unmcheck output: {list name: [items]}."""
    lists, current = {}, None
    for line in open(path, encoding="latin-1"):
        line = line.rstrip("\r\n")
        m = re.match(r"^\[removalProfile\.(\w+)\]$", line)
        if m:
            current = lists.setdefault(m.group(1), [])
            continue
        if line.startswith("["):
            current = None
            continue
        if current is not None and line:
            current.append(line)
    return lists


def item_names(lists):
    """Lower-case names the profile would remove: files, registry keys, etc."""
    names = {"file": set(), "key": set()}
    for item in lists.get("files", []):
        names["file"].add(item.split("=")[0].strip().lower())
    for item in lists.get("registryKeys", []):
        fields = [f.strip().strip('"') for f in item.split(",")]
        if len(fields) >= 2:
            root = {"hklm": "HKLM", "hkcu": "HKCU"}.get(fields[0].lower(), fields[0])
            key = (root + "\\" + fields[1]).lower()
            names["key"].add(key + ("\\" + fields[2].lower() + "=" if len(fields) > 2 and fields[2] else ""))
    return names


def native_key(entry):
    """A snapshot entry of the 32-bit registry view as the scripts name it."""
    return re.sub(r"^(reg:hklm\\software)\\wow6432node(?=\\|$)", r"\1", entry, flags=re.I)


def snapshot_key(target):
    """A what-if target as the snapshot names it (the 32-bit view's keys below Wow6432Node)."""
    m = re.match(r"^(.*) \((32|64)-bit view\)$", target)
    if not m:
        return target
    if m.group(2) == "64":
        return m.group(1)
    return re.sub(r"^(hklm\\software)(?=\\|,|$)", r"\1\\wow6432node", m.group(1), flags=re.I)


def is_noise(entry):
    return any(p.search(entry) for p in NOISE)


def describe(entry):
    if entry.startswith("file:"):
        return "file     C:/" + entry[5:]
    return "registry " + entry[4:]


def script_keys(path):
    """Registry keys every profile of the script names, lower case."""
    keys = set()
    for line in open(path, encoding="latin-1"):
        fields = [f.strip().strip('"') for f in line.strip().split(",")]
        if len(fields) >= 2 and fields[0].upper() in ("HKLM", "HKCU", "HKCR", "HKU"):
            keys.add((fields[0].upper() + "\\" + fields[1]).lower())
    return keys


def report(before_path, after_path, player_path, selection_path, all_path, script_path):
    before = json.load(open(before_path))
    after = json.load(open(after_path))
    player = open(player_path, encoding="latin-1").read().splitlines()
    chosen_profile = item_names(read_profile(selection_path))
    everything = item_names(read_profile(all_path))
    never = script_keys(script_path) - {k.rstrip("=") for k in everything["key"]}

    removed = sorted(e for e in before["entries"] if e not in after["entries"] and not is_noise(e))
    added = sorted(e for e in after["entries"] if e not in before["entries"] and not is_noise(e))

    out = []
    out.append("What the user saw")
    for line in player:
        if line.startswith(("printer ", "message ", "exit code")):
            out.append("  " + line)
    out.append("")
    b, a = before["spooler"], after["spooler"]
    out.append("Spooler")
    for kind in ("printers", "drivers", "monitors", "processors"):
        gone = [n for n in b[kind] if n not in a[kind]]
        kept = [n for n in a[kind]]
        out.append("  %-10s removed: %s" % (kind, ", ".join(gone) or "-"))
        out.append("  %-10s stayed:  %s" % ("", ", ".join(kept) or "-"))
    out.append("")

    def why_stayed(entry):
        low = native_key(entry.lower())
        if entry.startswith("file:"):
            name = low.rstrip("/").split("/")[-1]
            if "otramarca" in low:
                return "another maker's file outside the package's directories"
            if any(("c:/" + low[5:]).replace("/", "\\") == p.lower().replace("/", "\\") for p in after["pending"]):
                return "in use: deleted at the next restart"
            if name in chosen_profile["file"]:
                return "named by the removal profile but still there"
            if name in everything["file"]:
                return "needed by a printer that stays (its profile or a catch-all profile)"
            return "named by an ignore profile: shared, never removed"
        if any(low[4:] == k or low[4:].startswith(k + "\\") for k in never):
            return "named by an ignore profile: shared, never removed"
        if low.endswith("=") and any(k.endswith("=") and low[4:].startswith(k.rsplit("\\", 1)[0] + "\\")
                                     for k in everything["key"]):
            return "its key is named only for another value"
        for key in everything["key"]:
            if low[4:].startswith(key.rstrip("=")):
                if any(low[4:].startswith(k.rstrip("=")) for k in chosen_profile["key"]):
                    return "named by the removal profile but still there"
                return "needed by a printer that stays (its profile or a catch-all profile)"
        if "otramarca" in low:
            return "another maker's key"
        return "named by an ignore profile or by no profile: not the package's to remove"

    ini_before = set(before["vantoini"].replace("\r", "").split("\n"))
    ini_after = set(after["vantoini"].replace("\r", "").split("\n"))
    out.append("vanto.ini: lines removed: %s; lines kept: %s" % (
        ", ".join(sorted(l for l in ini_before - ini_after if l)) or "-",
        ", ".join(sorted(l for l in ini_after if l)) or "-"))
    out.append("")
    out.append("Removed (%d)" % len(removed))
    for entry in removed:
        out.append("  " + describe(entry))
    out.append("")
    package = re.compile(r"vanto|vc44|vc55|corvel|pell|zrestart|oem44|vunz__08", re.I)
    stayed = sorted(e for e in after["entries"] if package.search(e) and not is_noise(e)
                    and e in before["entries"] and not e.endswith(("trelun08.exe", "vspool08.dll")))
    out.append("Of the package, stayed (%d), and why" % len(stayed))
    for entry in stayed:
        out.append("  %-70s %s" % (describe(entry), why_stayed(entry)))
    if after["pending"]:
        out.append("")
        out.append("Deleted at the next restart")
        for path in after["pending"]:
            out.append("  " + path)
    out.append("")
    foreign_changed = [e for e in removed + added if "otramarca" in e.lower() or "contabilidad" in e.lower()]
    # Every removed file carries a name the removal profile lists (or is a
    # directory the removal emptied, or a shortcut, service, device or
    # spooler leftover the steps remove by their own rules).
    unexplained = []
    for entry in removed:
        if entry.startswith("file:") and not entry.endswith("/"):
            name = entry.rstrip("/").split("/")[-1]
            base = name.rsplit(".", 1)[0]
            shortcut = name.endswith((".lnk", ".pif"))
            inf = re.match(r"oem\d+\.(inf|pnf)$", name)
            if name not in chosen_profile["file"] and not shortcut and not inf:
                unexplained.append(entry)
    out.append("Checks")
    out.append("  every removed file is named by the removal profile: %s"
               % ("yes" if not unexplained else "NO: " + ", ".join(unexplained)))
    out.append("  another maker's files, keys and printer untouched: %s"
               % ("yes" if not foreign_changed and "Contabilidad" in a["printers"] else "NO"))
    out.append("  nothing added but the uninstaller's own traces: %s" % ("yes" if not added else "NO: " + ", ".join(added)))
    print("\n".join(out))


def read_whatif(path):
    """The [Actions] that would go now, as (action, target) pairs."""
    actions = []
    section = None
    for line in open(path, encoding="latin-1").read().splitlines():
        if line.startswith("["):
            section = line
        elif section == "[Actions]" and "=" in line:
            step, action, result, target = line.split("=", 1)[1].split("|", 3)
            if result == "found":
                actions.append((action, target))
    return actions


def whatif(before_path, looked_path, after_path, report_path):
    before, looked, after = (json.load(open(p)) for p in (before_path, looked_path, after_path))
    actions = read_whatif(report_path)
    changed = sorted(e for e in set(before["entries"]) | set(looked["entries"])
                     if before["entries"].get(e) != looked["entries"].get(e) and not is_noise(e)
                     and not re.search(r"whatif\.(txt|log)$", e, re.I))
    same = all(before[k] == looked[k] for k in ("spooler", "pending", "winini", "vantoini"))
    out = ["What-if run (/SILENT /WHATIF) before run 2"]
    out.append("  the what-if run changed nothing: %s" % ("yes" if same and not changed else "NO: " + ", ".join(changed)))

    def reported(*names):
        return {snapshot_key(t).lower() for a, t in actions if a in names}

    files = {"file:" + t[3:].replace("\\", "/").lower().rstrip("/") + ("/" if a == "RemoveDirectory" else "")
             for a, t in actions if a in ("DeleteFile", "UninstallOemInf", "RemoveDirectory")}
    gone = {e for e in before["entries"] if e.startswith("file:") and e not in after["entries"] and not is_noise(e)}
    listed = {e for e in files if e in before["entries"]}
    out.append("  files removed = files listed: %s" % ("yes (%d)" % len(gone) if gone == listed
               else "NO: %s" % ", ".join(sorted(gone ^ listed))))
    b, a = before["spooler"], after["spooler"]
    spooler_ok = True
    for kind, names in (("printers", ("DeletePrinter", "DeletePrinterConnection")), ("drivers", ("DeletePrinterDriver",)),
                        ("monitors", ("DeleteMonitor",)), ("processors", ("DeletePrintProcessor",))):
        went = {n.lower() for n in b[kind] if n not in a[kind]}
        said = {t.split("\\")[-1] if kind in ("drivers", "processors") else t for t in reported(*names)}
        spooler_ok = spooler_ok and went == said
    out.append("  spooler entries removed = those listed: %s" % ("yes" if spooler_ok else "NO"))
    keys = reported("DeleteRegistryKey", "DeleteRegistryTree")
    keys |= {"hklm\\system\\currentcontrolset\\services\\" + s for s in reported("DeleteService")}
    values = reported("DeleteRegistryValue")
    unlisted = []
    for e in before["entries"]:
        if not e.startswith("reg:") or e in after["entries"] or is_noise(e):
            continue
        path = e[4:].lower()
        if path.endswith("="):
            key, name = path[:-1].rsplit("\\", 1)
            if key + "," + name in values:
                continue
            path = key
        if not any(path == k or path.startswith(k + "\\") for k in keys):
            unlisted.append(e)
    out.append("  every registry entry removed was listed: %s" % ("yes" if not unlisted else "NO: " + ", ".join(unlisted)))
    print("\n".join(out))


if __name__ == "__main__":
    if len(sys.argv) >= 2 and sys.argv[1] == "snapshot" and len(sys.argv) == 5:
        snapshot(sys.argv[2], sys.argv[3], sys.argv[4])
    elif len(sys.argv) >= 2 and sys.argv[1] == "report" and len(sys.argv) == 8:
        report(*sys.argv[2:8])
    elif len(sys.argv) == 6 and sys.argv[1] == "whatif":
        whatif(*sys.argv[2:6])
    else:
        sys.exit(__doc__)
