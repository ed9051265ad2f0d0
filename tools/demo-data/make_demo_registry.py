#!/usr/bin/env python3
"""Writes the demo registry of tools/demo: a REGEDIT4 file with dead entries
of every scan area beside healthy ones, as a long-used desktop collects them.

  make_demo_registry.py OUT.reg PRESENT_LIST

Dead entries name files below C:\\KelvaneDemo\\Removed (never created);
healthy ones name the files and folders listed in PRESENT_LIST (one Windows
path a line; tools/demo creates them before the import).
"""
import sys

HKCU, HKLM, HKU = "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS"
CV = "Software\\Microsoft\\Windows\\CurrentVersion"
GONE, HERE = "C:\\KelvaneDemo\\Removed\\", "C:\\KelvaneDemo\\Programs\\"
VENDORS = ["Northwind", "Contoso Tools", "Fabrikam", "Tailspin", "Litware", "Proseware",
           "Adatum", "Wingtip", "Lucerne", "Humongous", "Woodgrove", "Coho"]


def q(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def main(out_path, present_path):
    lines, present = ["REGEDIT4"], []

    def key(path, *values):
        lines.extend(["", "[" + path + "]"] + list(values))

    for i, vendor in enumerate(VENDORS):
        tag = vendor.replace(" ", "")
        dead_dir, live_dir = GONE + tag + "\\", HERE + tag + "\\"
        present += [live_dir + "app.exe", live_dir + "Data\\"]
        guid = "{D3E0%04X-0000-4000-8000-0000000000%02X}" % (i, i)
        live_guid = "{11FE%04X-0000-4000-8000-0000000000%02X}" % (i, i)
        # Software paths: the user's, every account's and the machine's.
        key(HKCU + "\\Software\\" + vendor + "\\Settings",
            '"InstallDir"=' + q(dead_dir), '"LastProject"=' + q(dead_dir + "project%d.dat" % i),
            '"DataDir"=' + q(live_dir + "Data"), '"Editor"=' + q('"' + live_dir + 'app.exe" /edit'),
            '"WindowWidth"=dword:00000400', '"Title"=' + q(vendor + " Studio"))
        key(HKU + "\\.DEFAULT\\Software\\" + vendor, '"SharedTemplates"=' + q(dead_dir + "Templates"))
        key(HKLM + "\\Software\\" + vendor + "\\Setup",
            '"Path"=' + q(dead_dir + "setup.exe"), '"Version"="%d.0"' % (i + 1),
            '"Program"=' + q(live_dir + "app.exe"))
        # Class registrations and file types of the removed program.
        key(HKLM + "\\Software\\Classes\\CLSID\\" + guid, "@=" + q(vendor + " Document"))
        key(HKLM + "\\Software\\Classes\\CLSID\\" + guid + "\\InprocServer32",
            "@=" + q(dead_dir + "shellext.dll"), '"ThreadingModel"="Apartment"')
        key(HKLM + "\\Software\\Classes\\CLSID\\" + live_guid + "\\LocalServer32",
            "@=" + q('"' + live_dir + 'app.exe" /automation'))
        ext = ".demo%d" % i
        key(HKLM + "\\Software\\Classes\\" + ext, "@=" + q(tag + ".Document"))
        key(HKLM + "\\Software\\Classes\\" + tag + ".Document\\Shell\\Open\\Command",
            "@=" + q('"' + dead_dir + 'viewer.exe" "%1"'))
        key(HKLM + "\\Software\\Classes\\" + ext + "live", "@=" + q(tag + ".LiveDocument"))
        key(HKLM + "\\Software\\Classes\\" + tag + ".LiveDocument\\Shell\\Open\\Command",
            "@=" + q('"' + live_dir + 'app.exe" "%1"'))
        # Uninstall entries: the uninstaller is gone / still there.
        key(HKLM + "\\" + CV + "\\Uninstall\\" + tag,
            '"DisplayName"=' + q(vendor + " Studio"),
            '"UninstallString"=' + q('"' + dead_dir + 'uninstall.exe"'))
        key(HKLM + "\\" + CV + "\\Uninstall\\" + tag + "Live",
            '"DisplayName"=' + q(vendor + " Viewer"),
            '"UninstallString"=' + q('"' + live_dir + 'app.exe" /uninstall'))
        # Start menu order of a folder that is gone; empty keys left behind.
        key(HKCU + "\\" + CV + "\\Explorer\\MenuOrder\\Start Menu\\Programs\\" + vendor,
            '"Order"=hex:08,00,00,00,02,00,00,00')
        key(HKCU + "\\Software\\" + tag + "Updater")
        key(HKLM + "\\Software\\" + tag + "Licensing")
        # Start-up entries and shared DLL counters.
        key(HKCU + "\\" + CV + "\\Run", q(tag + "Tray") + "=" + q('"' + dead_dir + 'tray.exe" /background'))
        key(HKLM + "\\" + CV + "\\Run", q(tag + "Service") + "=" + q('"' + live_dir + 'app.exe" /service'))
        key(HKLM + "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls",
            q(dead_dir + "common.dll") + "=dword:00000002")
    # History lists: every entry goes.
    key(HKCU + "\\" + CV + "\\Explorer\\RunMRU", '"a"="notepad\\\\1"', '"b"="regedit\\\\1"',
        '"c"="cmd\\\\1"', '"MRUList"="cba"')
    key(HKCU + "\\" + CV + "\\Explorer\\ComDlg32\\OpenSaveMRU\\txt",
        '"a"=' + q("C:\\KelvaneDemo\\notes.txt"), '"MRUList"="a"')
    key(HKCU + "\\Software\\Microsoft\\Internet Explorer\\TypedUrls",
        '"url1"="http://intranet.invalid/"', '"url2"="http://wiki.invalid/start"')
    # Locale entries without data beside good ones.
    key(HKLM + "\\System\\CurrentControlSet\\Control\\Nls\\Locale",
        '"0000d3e0"=""', '"0000d3e1"=""', '"0000d3e2"="1"')
    # Where the start menu folders are (they exist: a healthy menu order).
    key(HKCU + "\\" + CV + "\\Explorer\\Shell Folders", '"Programs"=' + q(HERE + "Start Menu"))
    key(HKCU + "\\" + CV + "\\Explorer\\MenuOrder\\Start Menu\\Programs\\Accessories",
        '"Order"=hex:08,00,00,00')
    present.append(HERE + "Start Menu\\Accessories\\")

    with open(out_path, "w", encoding="cp1252", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")
    with open(present_path, "w", newline="\n") as f:
        f.write("\n".join(present) + "\n")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
