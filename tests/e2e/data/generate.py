#!/usr/bin/env python3
"""Writes the seed registries of the end-to-end tests (run it after editing).

  seed-areas.reg      REGEDIT4: a dead entry in every key a scan area reads,
                      keys the areas skip, odd names, values of every type
  seed-every-type.reg5  REGEDIT5 source (UTF-8; the tests convert it to the
                      UTF-16 file that regedit reads): values of every type
                      and odd names, below dead keys and below a healthy one
  dead-entries.txt    what /fix must remove: "key PATH" (the key and its whole
                      subtree) or "value KEYPATH NAME", in the dump's escapes

Dead paths lie below C:\\KelvaneE2E\\Gone (never created); healthy ones below
C:\\KelvaneE2E\\Present and C:\\KelvaneE2E\\StartMenu (created by the tests).
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
HKCU, HKLM, HKU = "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS"
CV = "Software\\Microsoft\\Windows\\CurrentVersion"
CLASSES = HKLM + "\\Software\\Classes"
UNINSTALL = HKLM + "\\" + CV + "\\Uninstall"
ZONES = HKLM + "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones"
DEAD_CLASS = "{E2E0DEAD-0000-4000-8000-000000000001}"


def q(text):
    """A quoted .reg string: backslashes and quotes escaped."""
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def hexlist(data, prefix):
    out, line = [], prefix
    for i, byte in enumerate(data):
        piece = "%02x" % byte + ("," if i < len(data) - 1 else "")
        if len(line) + len(piece) > 76:
            out.append(line + "\\")
            line = "  "
        line += piece
    out.append(line)
    return "\n".join(out)


def wide(text, terminated=True):
    return (text + ("\0" if terminated else "")).encode("utf-16-le")


def narrow(text, terminated=True):
    return (text + ("\0" if terminated else "")).encode("cp1252")


class Seed:
    def __init__(self):
        self.lines = []
        self.dead = []

    def key(self, path, *values, dead=False):
        self.lines += ["", "[" + path + "]"] + list(values)
        if dead:
            self.dead.append("key " + path)

    def dead_value(self, path, name, data):
        """A value line; records NAME (dump form) of PATH as dead."""
        self.dead.append("value %s %s" % (path, '@' if name == "" else q(name)))
        return ("@" if name == "" else q(name)) + "=" + data


def every_type(encode):
    """Values of every type and odd names; `encode` turns text into the
    bytes of hex(1)/hex(2)/hex(7) (ANSI in REGEDIT4, UTF-16 in REGEDIT5)."""
    return [
        '@="default value of the subtree"',
        '"Text"="plain text"',
        '"Empty text"=""',
        q('With "quotes" inside') + "=" + q('data with "quotes" too'),
        q("With\\backslash\\name") + "=" + q("text with \\ backslashes \\\\ inside"),
        '"Text, long"="' + "L" * 1800 + '"',
        '"Text with NUL"=' + hexlist(encode("before") + encode("after"), "hex(1):"),
        '"Expand"=' + hexlist(encode("%SystemRoot%\\kelvane.exe"), "hex(2):"),
        '"Binary"=' + hexlist(bytes(range(60)), "hex:"),
        '"Binary, empty"=hex:',
        '"Binary, long"=' + hexlist(bytes((i * 7) & 255 for i in range(3000)), "hex:"),
        '"Dword"=dword:0000002a',
        '"Dword max"=dword:ffffffff',
        '"Dword, short"=' + hexlist(bytes([1, 2]), "hex(4):"),
        '"Big endian"=' + hexlist(bytes([0, 0, 0, 42]), "hex(5):"),
        '"Link"=' + hexlist(wide("\\Registry\\Machine\\Software", False), "hex(6):"),
        '"Multi"=' + hexlist(encode("one") + encode("two") + encode(""), "hex(7):"),
        '"Multi, empty"=' + hexlist(encode(""), "hex(7):"),
        '"Resource list"=' + hexlist(bytes([1, 0, 0, 0, 9, 8]), "hex(8):"),
        '"Full descriptor"=' + hexlist(bytes([2, 0, 0, 0]), "hex(9):"),
        '"Requirements"=' + hexlist(bytes([3, 0, 0, 0, 0xFE]), "hex(a):"),
        '"Qword"=' + hexlist(bytes(range(1, 9)), "hex(b):"),
        '"None"=' + hexlist(bytes([0xDE, 0xAD]), "hex(0):"),
        '"None, empty"=hex(0):',
        '"Unknown type"=' + hexlist(bytes([7, 7, 7]), "hex(4321):"),
    ]


def areas(s):
    """One dead entry per area and per key an area reads, the entries the fix
    must keep beside them, and odd names for the backup round trip. The rules
    of each checker (which texts are paths, which entries are healthy) are
    the unit tests' business."""
    gone, here = "C:\\KelvaneE2E\\Gone\\", "C:\\KelvaneE2E\\Present\\"
    # UserSoft: string values below HKCU\Software; names that need escapes in
    # the backup, a healthy value the fix must keep in the same key.
    k = HKCU + "\\Software\\KelvaneE2E\\Paths"
    s.key(k,
          s.dead_value(k, "", q(gone + "default.exe")),
          s.dead_value(k, "DeadInstallPath", q(gone + "app.exe")),
          s.dead_value(k, 'Dead "quoted" name', q(gone + "quotes.exe")),
          s.dead_value(k, "Dead\\back\\slash", q(gone + "slashes.exe")),
          '"LivePath"=' + q(here + "live.exe"))
    s.key(HKCU + "\\Software\\KelvaneE2E\\Skipped\\CLSID", '"DeadButSkipped"=' + q(gone + "c.exe"))
    s.key(HKCU + "\\Software\\Wow6432Node\\KelvaneE2E", '"DeadButSkipped"=' + q(gone + "w.exe"))
    # CommonSoft: every user's hive below HKEY_USERS.
    k = HKU + "\\.DEFAULT\\Software\\KelvaneE2E"
    s.key(k, s.dead_value(k, "DeadCommon", q(gone + "common.exe")))
    # SysSoft: the whole of HKEY_LOCAL_MACHINE but its skipped keys.
    k = HKLM + "\\Software\\KelvaneE2E"
    s.key(k, s.dead_value(k, "DeadSystem", q(gone + "system.exe")))
    s.key(CLASSES + "\\KelvaneE2E.Skipped", '"DeadButSkipped"=' + q(gone + "classes.exe"))

    # Com: a class key with a missing server is removed whole, with its
    # subtree. (Wine's HKEY_CLASSES_ROOT holds no per-user classes, so none
    # are seeded below HKCU\Software\Classes.)
    k = CLASSES + "\\CLSID\\" + DEAD_CLASS
    s.key(k, '@="Kelvane E2E dead class"', dead=True)
    s.key(k + "\\InprocServer32", "@=" + q(gone + "dead.dll"), '"ThreadingModel"="Both"')
    s.key(k + "\\Empty\\Deeper\\Deepest")
    # File associations: the extension key and its program key.
    s.key(CLASSES + "\\.kve2edead", '@="KelvaneE2E.DeadFile"', dead=True)
    s.key(CLASSES + "\\KelvaneE2E.DeadFile", '@="Dead file type"', dead=True)
    s.key(CLASSES + "\\KelvaneE2E.DeadFile\\Shell\\Open\\Command",
          "@=" + q('"' + gone + 'viewer.exe" "%1"'))

    # Uninstall entries: one with values of every type below it.
    k = UNINSTALL + "\\KelvaneE2EDead"
    s.key(k, '"DisplayName"="Kelvane E2E dead program"',
          '"UninstallString"=' + q('"' + gone + 'uninst.exe"'), dead=True)
    s.key(k + "\\Details", *every_type(narrow))
    s.key(k + "\\Details\\Empty")

    # Recent: every value of the history lists goes (TypedUrls: strings only).
    for sub, values in [
        ("Explorer\\ComDlg32\\OpenSaveMRU\\txt",
         [("a", q("C:\\KelvaneE2E\\notes.txt")), ("MRUList", '"a"')]),
        ("Explorer\\RecentDocs",
         [("0", hexlist(wide("notes.txt"), "hex:")),
          ("MRUListEx", "hex:00,00,00,00,ff,ff,ff,ff")]),
        ("Applets\\Paint\\Recent File List", [("File1", q("C:\\KelvaneE2E\\picture.bmp"))]),
    ]:
        k = HKCU + "\\" + CV + "\\" + sub
        s.key(k, *[s.dead_value(k, n, d) for n, d in values])
    k = HKCU + "\\Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList"
    s.key(k, s.dead_value(k, "File0", q("C:\\KelvaneE2E\\music.mp3")))
    k = HKCU + "\\Software\\Microsoft\\Internet Explorer\\TypedUrls"
    s.key(k, s.dead_value(k, "url1", '"http://kelvane.invalid/"'), '"LiveCount"=dword:00000001')

    # StartMenu: menu orders for folders that are gone, in both menus (the
    # test creates both Programs folders), an empty software key of HKLM.
    s.key(HKCU + "\\" + CV + "\\Explorer\\Shell Folders",
          '"Programs"=' + q("C:\\KelvaneE2E\\StartMenu\\User"))
    s.key(HKLM + "\\" + CV + "\\Explorer\\Shell Folders",
          '"Common Programs"=' + q("C:\\KelvaneE2E\\StartMenu\\Common"))
    order = HKCU + "\\" + CV + "\\Explorer\\MenuOrder\\Start Menu\\Programs"
    s.key(order + "\\KelvaneE2E Dead Folder", '"Order"=hex:08,00,00,00,01', dead=True)
    s.key(order + "\\KelvaneE2E Dead Folder\\Sub\\Empty")
    order2 = HKCU + "\\" + CV + "\\Explorer\\MenuOrder\\Start Menu2\\Programs"
    s.key(order2 + "\\KelvaneE2E Gone Games", dead=True)
    s.key(HKLM + "\\Software\\KelvaneE2EEmpty", dead=True)

    # Dll: shared-DLL counters of missing files.
    k = HKLM + "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls"
    s.key(k, s.dead_value(k, gone + "shared.dll", "dword:00000001"))

    # Run: start-up entries of missing programs. (Not HKLM RunOnce: wine runs
    # and empties it whenever its server starts.)
    for root, sub, name in [(HKLM, "Run", "KelvaneE2EDead"), (HKLM, "RunServices", "KelvaneE2EDeadService"),
                            (HKCU, "Run", "KelvaneE2EDeadUser"),
                            (HKCU, "RunOnce", "KelvaneE2EDeadUserOnce")]:
        k = root + "\\" + CV + "\\" + sub
        s.key(k, s.dead_value(k, name, q('"' + gone + 'tool.exe" /min')))

    # Language: locale entries with empty data (strings only).
    k = HKLM + "\\System\\CurrentControlSet\\Control\\Nls\\Locale"
    s.key(k, s.dead_value(k, "0000e2e1", '""'), '"0000e2e3"=' + hexlist(narrow(""), "hex(2):"))

    # TimeZone (where a test switches it on): every zone but the one in effect.
    k = ZONES + "\\KelvaneE2E Dead Zone"
    s.key(k, '"Std"="KelvaneE2E Dead Standard Time"', '"Dlt"="KelvaneE2E Dead Daylight Time"',
          '"Display"="(UTC+13:45) Kelvane"', '"TZI"=' + hexlist(bytes(range(44)), "hex:"), dead=True)
    s.key(k + "\\Dynamic DST", '"FirstEntry"=dword:000007d0', '"LastEntry"=dword:000007e0')


def every_type_seed(s):
    k = CLASSES + "\\CLSID\\" + DEAD_CLASS + "\\Values"
    s.key(k, *every_type(wide))
    s.key(k + "\\Empty")
    s.key(HKCU + "\\Software\\KelvaneE2E\\Live\\EveryType", *every_type(wide))
    s.key(HKCU + "\\Software\\KelvaneE2E\\Live\\EveryType\\Empty\\Child")


def write(name, header, lines):
    with open(os.path.join(HERE, name), "w", encoding="utf-8" if header != "REGEDIT4" else "cp1252",
              newline="\r\n") as f:
        f.write(header + "\n" + "\n".join(lines) + "\n")


def main():
    seed = Seed()
    areas(seed)
    write("seed-areas.reg", "REGEDIT4", seed.lines)
    extra = Seed()
    every_type_seed(extra)
    write("seed-every-type.reg5", "Windows Registry Editor Version 5.00", extra.lines)
    with open(os.path.join(HERE, "dead-entries.txt"), "w", newline="\n") as f:
        f.write("\n".join(seed.dead + extra.dead) + "\n")


if __name__ == "__main__":
    main()
