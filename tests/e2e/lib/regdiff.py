#!/usr/bin/env python3
"""Compares canonical registry dumps of e2e_regtool.

  regdiff.py removed BEFORE AFTER DEAD_LIST
      AFTER must be exactly BEFORE without the dead entries of DEAD_LIST
      ("key PATH": the key and its whole subtree; "value KEYPATH NAME").
      Every dead entry must be present in BEFORE.
  regdiff.py same BEFORE AFTER
      the two dumps hold the same keys and values.
  regdiff.py present DUMP DEAD_LIST
      every entry of DEAD_LIST is still in DUMP.
  regdiff.py absent DUMP DEAD_LIST
      no entry of DEAD_LIST is in DUMP.

Paths and value names compare without regard to letter case, as the
registry does. The dumps list symbolic links as links; a dead entry's path
that passes through one (HKLM\System\CurrentControlSet) is resolved with
the link's target. Prints what differs; exit code 1 when anything does.
"""
import sys


def load(path):
    """Dump -> {lower key path: (printed path, {lower value name: line})}."""
    keys = {}
    current = None
    with open(path, encoding="ascii") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("["):
                printed = line[1:-1]
                current = keys.setdefault(printed.lower(), (printed, {}))
            elif current is not None:
                current[1][value_name(line).lower()] = line
    return keys


def value_name(line):
    """The name part of a value line: @, "escaped", or !unreadable."""
    if not line.startswith('"'):
        return line.split("=", 1)[0]
    i = 1
    while line[i] != '"':
        i += 2 if line[i] == "\\" else 1
    return line[: i + 1]


ROOTS = {"\\registry\\machine": "HKEY_LOCAL_MACHINE", "\\registry\\user": "HKEY_USERS"}


def links_of(keys):
    """{lower link path: target as a full path} from SymbolicLinkValue lines."""
    links = {}
    for low, (printed, values) in keys.items():
        line = values.get('"symboliclinkvalue"')
        if line is None or not line.startswith('"SymbolicLinkValue"=6:'):
            continue
        target = bytes.fromhex(line.split(":", 1)[1]).decode("utf-16-le")
        for prefix, root in ROOTS.items():
            if target.lower().startswith(prefix):
                links[low] = root + target[len(prefix):]
    return links


def resolve(path, links):
    """The path with every link on its way replaced by the link's target."""
    for _ in range(16):
        parts = path.split("\\")
        for i in range(len(parts), 0, -1):
            target = links.get("\\".join(parts[:i]).lower())
            if target is not None:
                path = "\\".join([target] + parts[i:])
                break
        else:
            return path
    return path


def load_dead(path):
    entries = []
    with open(path, encoding="ascii") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            kind, rest = line.split(" ", 1)
            if kind == "key":
                entries.append(("key", rest, None))
            else:
                # The key path ends before the value name (@ or "...").
                cut = rest.rfind(' "') if rest.endswith('"') else rest.rfind(" @")
                entries.append(("value", rest[:cut], rest[cut + 1 :]))
    return entries


def describe(keys):
    """Comparable lines: key paths without regard to case, values exactly."""
    lines = {}
    for low, (printed, values) in keys.items():
        lines["[%s]" % low] = "[%s]" % printed
        for v in values.values():
            lines["[%s] %s" % (low, v)] = "[%s] %s" % (printed, v[:200])
    return lines


def remove_dead(before, dead, problems):
    expected = {k: (p, dict(v)) for k, (p, v) in before.items()}
    links = links_of(before)
    for kind, path, name in dead:
        path = resolve(path, links)
        low = path.lower()
        if kind == "key":
            doomed = [k for k in expected if k == low or k.startswith(low + "\\")]
            if not doomed:
                problems.append("dead key not in the registry before: " + path)
            for k in doomed:
                del expected[k]
        else:
            values = expected.get(low, (None, {}))[1]
            if name.lower() not in values:
                problems.append("dead value not in the registry before: %s %s" % (path, name))
            values.pop(name.lower(), None)
    return expected


def compare(expected, actual, problems, missing_label, extra_label):
    want, have = describe(expected), describe(actual)
    for line in sorted(want.keys() - have.keys()):
        problems.append(missing_label + ": " + want[line])
    for line in sorted(have.keys() - want.keys()):
        problems.append(extra_label + ": " + have[line])


def main(argv):
    problems = []
    if argv[1] == "removed" and len(argv) == 5:
        before, after = load(argv[2]), load(argv[3])
        expected = remove_dead(before, load_dead(argv[4]), problems)
        compare(expected, after, problems, "healthy entry changed or removed",
                "dead or changed entry left")
    elif argv[1] == "same" and len(argv) == 4:
        compare(load(argv[2]), load(argv[3]), problems, "lost", "not in the first dump")
    elif argv[1] in ("present", "absent") and len(argv) == 4:
        dump = load(argv[2])
        links = links_of(dump)
        for kind, path, name in load_dead(argv[3]):
            entry = dump.get(resolve(path, links).lower())
            present = entry is not None and (kind == "key" or name.lower() in entry[1])
            if present != (argv[1] == "present"):
                problems.append("%s: %s %s" % ("still there" if present else "gone", path, name or ""))
    else:
        print(__doc__)
        return 2
    for p in problems[:200]:
        print(p)
    if len(problems) > 200:
        print("... %d more" % (len(problems) - 200))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
