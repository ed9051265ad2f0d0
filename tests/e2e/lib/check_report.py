#!/usr/bin/env python3
"""Checks a run report of Kelvane.exe against the registry and the backups.

  check_report.py fix REPORT BEFORE AFTER DEAD_LIST PARTIAL_BACKUP
      one fix job, done: every dead entry of DEAD_LIST is listed as removed;
      every removed entry was in BEFORE, is gone from AFTER and stands in
      PARTIAL_BACKUP (whose name the report gives); every cannot-remove entry
      is still in AFTER; the counts per category add up.
  check_report.py jobs REPORT EXIT_CODE JOB:OUTCOME...
      the jobs in this order with these outcomes, and the run's exit code.
  check_report.py backup REPORT FOLDER
      the backup job names FOLDER (a Linux path) and the size of its allbak.reg.

Prints what is wrong; exit code 1 when anything is.
"""
import json
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import regdiff  # noqa: E402

CATEGORIES = {"SoftwarePath", "ComObject", "UninstallEntry", "HistoryList", "MenuOrder",
              "EmptySoftwareKey", "FileAssociation", "SharedDll", "Locale", "TimeZone", "Startup"}
STAMP = re.compile(r"^\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2}$")


def quoted(name):
    """A value name as the dumps and the dead list write it."""
    if name == "":
        return "@"
    return '"%s"' % name.replace("\\", "\\\\").replace('"', '\\"')


# The same keys under other names: the prefix's one user, and the classes.
ALIASES = [(re.compile(r"^HKEY_USERS\\S-1-5-21-[0-9-]+(?=\\|$)", re.I), "HKEY_CURRENT_USER"),
           (re.compile(r"^HKEY_CLASSES_ROOT(?=\\|$)", re.I), "HKEY_LOCAL_MACHINE\\Software\\Classes")]


def entry_of(item):
    path = item["root"] + "\\" + item["key"]
    for pattern, name in ALIASES:
        path = pattern.sub(lambda _: name, path)
    if item["value"] is None:
        return ("key", path, None)
    return ("value", path, quoted(item["value"]))


def in_dump(dump, entry):
    kind, path, name = entry
    found = dump.get(regdiff.resolve(path, regdiff.links_of(dump)).lower())
    return found is not None and (kind == "key" or name.lower() in found[1])


def backup_entries(path):
    """(kind, lower key path, lower quoted name) lines of a REGEDIT4 file."""
    keys, values, current = set(), set(), None
    with open(path, encoding="cp1252") as f:
        for line in f:
            line = line.rstrip("\r\n")
            if line.startswith("["):
                current = line[1:-1].lower()
                keys.add(current)
            elif current is not None and (line.startswith('"') or line.startswith("@")):
                values.add((current, regdiff.value_name(line).lower()))
    return keys, values


def check_header(report, problems):
    if report.get("program") != "Kelvane" or not report.get("version"):
        problems.append("program or version missing: %r %r" % (report.get("program"), report.get("version")))
    for field in ("started", "ended"):
        if not STAMP.match(str(report.get(field))):
            problems.append("%s is not a time: %r" % (field, report.get(field)))
    if str(report.get("started")) > str(report.get("ended")):
        problems.append("ended before it started")


def check_fix(report, before, after, dead, partial, problems):
    jobs = report["jobs"]
    if [j["job"] for j in jobs] != ["fix"] or jobs[0]["outcome"] != "done" or report["exitCode"] != 0:
        problems.append("not one fix that was done: %r" % jobs)
        return
    fix = jobs[0]
    removed = [entry_of(i) for i in fix["removed"]]
    kept = [entry_of(i) for i in fix["cannotRemove"]]
    listed = {(k, p.lower(), n and n.lower()) for k, p, n in removed}
    for kind, path, name in dead:
        if (kind, path.lower(), name and name.lower()) not in listed:
            problems.append("dead entry not listed as removed: %s %s" % (path, name or ""))
    keys, values = backup_entries(partial)
    for entry in removed:
        kind, path, name = entry
        if not in_dump(before, entry):
            problems.append("listed as removed but not in the registry before: %s %s" % (path, name or ""))
        if in_dump(after, entry):
            problems.append("listed as removed but still there: %s %s" % (path, name or ""))
        backed_up = path.lower() in keys if kind == "key" else (path.lower(), name.lower()) in values
        if not backed_up:
            problems.append("removed without a line in the partial backup: %s %s" % (path, name or ""))
    for entry in kept:
        if not in_dump(after, entry):
            problems.append("listed as cannot-remove but gone: %s %s" % (entry[1], entry[2] or ""))
    if not fix.get("partialBackup", "").endswith("\\" + os.path.basename(partial)):
        problems.append("partialBackup is %r, not the backup written" % fix.get("partialBackup"))
    categories = fix["categories"]
    if set(categories) - CATEGORIES:
        problems.append("unknown categories: %r" % sorted(set(categories) - CATEGORIES))
    if sum(c["found"] for c in categories.values()) != fix["found"]:
        problems.append("the categories' counts do not add up to %d found" % fix["found"])
    if fix["found"] != len(removed) + len(kept):
        problems.append("%d found, but %d removed and %d kept" % (fix["found"], len(removed), len(kept)))
    for name, count in categories.items():
        listed_here = sum(1 for i in fix["removed"] if i["category"] == name)
        if count["removed"] != listed_here:
            problems.append("%s: %d removed counted, %d listed" % (name, count["removed"], listed_here))


def main(argv):
    problems = []
    with open(argv[2], encoding="utf-8") as f:
        report = json.load(f)
    check_header(report, problems)
    if argv[1] == "fix" and len(argv) == 7:
        check_fix(report, regdiff.load(argv[3]), regdiff.load(argv[4]), regdiff.load_dead(argv[5]),
                  argv[6], problems)
    elif argv[1] == "jobs" and len(argv) >= 4:
        want = [tuple(a.split(":")) for a in argv[4:]]
        have = [(j["job"], j["outcome"]) for j in report["jobs"]]
        if have != want or report["exitCode"] != int(argv[3]):
            problems.append("jobs %r with exit code %r, expected %r with %s" % (have, report["exitCode"], want, argv[3]))
    elif argv[1] == "backup" and len(argv) == 4:
        job = next((j for j in report["jobs"] if j["job"] == "backup"), {})
        size = os.path.getsize(os.path.join(argv[3], "allbak.reg"))
        name = os.path.basename(argv[3].rstrip("/"))
        if not str(job.get("folder")).endswith("\\" + name) or job.get("size") != size:
            problems.append("backup %r, %r; the folder %s holds %d bytes" % (job.get("folder"), job.get("size"), argv[3], size))
    else:
        print(__doc__)
        return 2
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
