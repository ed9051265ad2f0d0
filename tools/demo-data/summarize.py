#!/usr/bin/env python3
"""Prints what the demo's /fix found and removed.

  summarize.py BEFORE_DUMP AFTER_DUMP LANGUAGE_FILE PROGRAM_DIR PROGRAM_DIR_WIN

The removed entries are the difference of two canonical dumps (e2e_regtool):
whole keys that went, and values that went from keys that stayed. Each is
put under the problem kind whose keys it lies in, named with the program's
own category texts.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "tests", "e2e", "lib"))
import regdiff  # noqa: E402

# (category key, test on the lower-cased key path), first match wins.
KINDS = [
    ("L0055", lambda p: "\\time zones\\" in p),
    ("L0054", lambda p: p.endswith("\\nls\\locale")),
    ("L0053", lambda p: p.endswith("\\shareddlls")),
    ("L0056", lambda p: p.split("\\")[-1] in ("run", "runonce", "runservices", "runservicesonce")),
    ("L0050", lambda p: "\\menuorder\\" in p),
    ("L0049", lambda p: any(k in p for k in ("mru", "recentdocs", "recent file list",
                                               "recentfilelist", "typedurls"))),
    ("L0048", lambda p: "\\uninstall\\" in p),
    ("L0047", lambda p: "\\clsid\\{" in p),
    ("L0052", lambda p: p.startswith("hkey_local_machine\\software\\classes\\")),
    ("L0051", lambda p: p.count("\\") == 2 and p.split("\\")[1] == "software"),
    ("L0045", lambda p: True),
]


def category_texts(language_file):
    texts = {}
    with open(language_file, encoding="cp1252") as f:
        for line in f:
            key, _, value = line.strip().partition("=")
            texts[key] = value.replace(": %s", "").replace(" %s", "")
    return texts


def removed_entries(before, after):
    """[(kind of entry, printed key path, value line or None)]"""
    entries = []
    for low, (printed, values) in before.items():
        parent = low.rsplit("\\", 1)[0]
        if low not in after:
            if parent in after or parent not in before:
                entries.append(("key", printed, None))
        else:
            for name, line in values.items():
                if name not in after[low][1]:
                    entries.append(("value", printed, line))
    return sorted(entries, key=lambda e: e[1].lower())


def show_value(line):
    name, _, rest = line.partition("=")
    type_text, _, data = rest.partition(":")
    if type_text in ("1", "2") and len(data) % 4 == 0:
        text = bytes.fromhex(data).decode("utf-16-le", "replace").rstrip("\0")
        return "%s = %s" % (name, text)
    return "%s (type %s)" % (name, type_text)


def main(before_path, after_path, language_file, program_dir, program_dir_win):
    texts = category_texts(language_file)
    before = regdiff.load(before_path)
    removed = removed_entries(before, regdiff.load(after_path))
    by_kind = {}
    for entry in removed:
        kind = next(k for k, test in KINDS if test(entry[1].lower()))
        by_kind.setdefault(kind, []).append(entry)

    print("Removed %d entries:" % len(removed))
    for kind, _ in sorted(KINDS):
        if kind in by_kind:
            entries = by_kind[kind]
            keys = sum(1 for e in entries if e[0] == "key")
            print("  %-48s %4d  (%d keys, %d values)" % (texts.get(kind, kind), len(entries), keys,
                                                        len(entries) - keys))
    print()
    print("A sample of each kind:")
    for kind, _ in sorted(KINDS):
        for what, path, line in by_kind.get(kind, [])[:2]:
            shown = "[%s]" % path if what == "key" else "[%s] %s" % (path, show_value(line))
            print("  %-28s %s" % (texts.get(kind, kind)[:28], shown[:150]))

    # The demo's healthy entries all name files below C:\KelvaneDemo\Programs.
    healthy = "C:\\KelvaneDemo\\Programs".encode("utf-16-le").hex()
    wrongly = [e for e in removed if e[2] is not None and healthy in e[2]]
    seeded = sum(1 for _, values in before.values() for line in values.values() if healthy in line)
    print()
    print("Healthy entries naming existing files: %d, removed: %d" % (seeded, len(wrongly)))
    for what, path, line in wrongly:
        print("  [%s] %s" % (path, show_value(line)))

    settings = {}
    ini = os.path.join(program_dir, "Settings.ini")
    if os.path.exists(ini):
        for line in open(ini, encoding="cp1252"):
            key, _, value = line.strip().partition("=")
            settings[key] = value
    print()
    print("Settings.ini: LastScan=%s  ErrorCnt=%s  LastClean=%s" % (
        settings.get("LastScan", "-"), settings.get("ErrorCnt", "-"), settings.get("LastClean", "-")))

    folder = os.path.join(program_dir, "PartialBackup")
    backups = sorted(os.listdir(folder)) if os.path.isdir(folder) else []
    if backups:
        path = os.path.join(folder, backups[-1])
        with open(path, encoding="cp1252", errors="replace") as f:
            key_lines = sum(1 for line in f if line.startswith("["))
        print("Partial backup (%d key lines): %s" % (key_lines, path))
        print("  in the prefix: %s\\PartialBackup\\%s" % (program_dir_win, backups[-1]))
    unremovable = os.path.join(program_dir, "tmp_rccantremove.lst")
    if os.path.exists(unremovable):
        lines = [line.strip() for line in open(unremovable, encoding="cp1252") if line.strip()]
        print("tmp_rccantremove.lst: %d lines (entries reported twice, through HKEY_USERS or"
              " HKEY_CLASSES_ROOT, were already gone at the second try)" % len(lines))


if __name__ == "__main__":
    main(*sys.argv[1:6])
