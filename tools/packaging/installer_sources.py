#!/usr/bin/env python3
"""Writes the installers' sources from a staged program folder.

  installer_sources.py wxs STAGE ARCH VERSION ICON OUT.wxs
      the MSI source for wixl: every file of STAGE below Program Files,
      the Start-menu shortcut, the uninstall entry's icon, the upgrade rule
  installer_sources.py nsis STAGE OUT.nsh
      the NSIS include with the macros KELVANE_INSTALL_FILES and
      KELVANE_REMOVE_FILES: what the setup program writes and what its
      uninstaller removes, file by file (never a whole folder, which may hold
      the user's backups)

ARCH is x86 or x64. Identifiers and GUIDs are derived from the architecture,
the version and the file paths, so the same tree gives the same package.
"""
import hashlib
import os
import re
import sys
import uuid
from xml.sax.saxutils import quoteattr

PRODUCT = "Kelvane"
MANUFACTURER = "Kelvane"
# Stable per architecture: a later version with the same code replaces this one.
UPGRADE_CODES = {
    "x86": uuid.UUID("5d0c7a38-3b5e-4c4f-9e55-2f1b8d6a7c41"),
    "x64": uuid.UUID("b7e2f1a4-6c3d-4e8b-a0f9-4d5c2e1b9a63"),
}
# Files the program writes beside itself: the user's data, kept at removal
# unless REMOVEUSERDATA=1 is given.
USER_DATA_FOLDERS = ("Backup", "PartialBackup")
USER_DATA_FILES = ("Settings.ini", "tmp_rccantremove.lst")


def staged_files(stage):
    """Relative paths (with '/') of every file below STAGE, sorted."""
    files = []
    for folder, dirs, names in os.walk(stage):
        dirs.sort()
        for name in sorted(names):
            files.append(os.path.relpath(os.path.join(folder, name), stage).replace(os.sep, "/"))
    return files


def ident(prefix, path):
    """An MSI identifier for a path: letters, digits, '_' and '.', at most 72 characters."""
    digest = hashlib.sha1(path.encode("utf-8")).hexdigest()[:8]
    clean = re.sub(r"[^A-Za-z0-9_.]", "_", path)[:48]
    return "%s_%s_%s" % (prefix, clean, digest)


def guid(namespace, text):
    return "{%s}" % str(uuid.uuid5(namespace, text)).upper()


def wxs(stage, arch, version, icon, base):
    if arch not in UPGRADE_CODES:
        raise SystemExit("unknown architecture " + arch)
    if not re.fullmatch(r"\d+\.\d+(\.\d+)?", version):
        raise SystemExit("version %r is not major.minor[.build]" % version)
    files = staged_files(stage)
    if "Kelvane.exe" not in files:
        raise SystemExit("no Kelvane.exe in " + stage)
    upgrade = UPGRADE_CODES[arch]
    win64 = "yes" if arch == "x64" else "no"
    program_files = "ProgramFiles64Folder" if arch == "x64" else "ProgramFilesFolder"
    system = "System64Folder" if arch == "x64" else "SystemFolder"
    out = []
    w = out.append
    w('<?xml version="1.0" encoding="utf-8"?>')
    w('<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">')
    w('  <Product Id="%s" Name="%s" Language="1033" Codepage="1252" Version="%s"'
      % (guid(upgrade, "product " + version), PRODUCT, version))
    w('           Manufacturer="%s" UpgradeCode="{%s}">' % (MANUFACTURER, str(upgrade).upper()))
    w('    <Package InstallerVersion="500" Compressed="yes" InstallScope="perMachine"'
      ' Description="%s %s registry cleaner" Manufacturer="%s"/>' % (PRODUCT, version, MANUFACTURER))
    w('    <Media Id="1" Cabinet="kelvane.cab" EmbedCab="yes"/>')
    w('    <MajorUpgrade DowngradeErrorMessage="A newer version of %s is already installed."/>'
      % PRODUCT)
    if arch == "x86":
        # 64-bit Windows gets the 64-bit build from its own package.
        w('    <Condition Message="This is the 32-bit %s. On 64-bit Windows install %s-%s-win64.msi.">'
          "NOT VersionNT64</Condition>" % (PRODUCT, PRODUCT, version))
    w('    <Icon Id="kelvane.ico" SourceFile=%s/>' % quoteattr(os.path.relpath(icon, base)))
    w('    <Property Id="ARPPRODUCTICON" Value="kelvane.ico"/>')
    w('    <Property Id="ARPNOMODIFY" Value="1"/>')
    w('    <CustomAction Id="SetInstallLocation" Property="ARPINSTALLLOCATION" Value="[INSTALLDIR]"/>')
    w('    <Directory Id="TARGETDIR" Name="SourceDir">')
    w('      <Directory Id="%s">' % program_files)
    w('        <Directory Id="INSTALLDIR" Name="%s">' % PRODUCT)

    components = []

    def emit(folder, depth):
        indent = "  " * depth
        for path in files:
            if os.path.dirname(path) != folder:
                continue
            cid = ident("c", path)
            components.append(cid)
            w('%s<Component Id="%s" Guid="%s" Win64="%s">' % (indent, cid, guid(upgrade, path), win64))
            source = quoteattr(os.path.relpath(os.path.join(stage, path), base))
            if path == "Kelvane.exe":
                w('%s  <File Id="KelvaneExe" Name="Kelvane.exe" Source=%s KeyPath="yes"/>' % (indent, source))
                # A plain shortcut to the file: an advertised one would name the feature.
                w('%s  <Shortcut Id="StartMenuShortcut" Directory="ProgramMenuFolder" Name="%s"'
                  ' Description="Registry cleaner" Target="[#KelvaneExe]" WorkingDirectory="INSTALLDIR"/>'
                  % (indent, PRODUCT))
            else:
                w('%s  <File Id="%s" Name=%s Source=%s KeyPath="yes"/>'
                  % (indent, ident("f", path), quoteattr(os.path.basename(path)), source))
            w("%s</Component>" % indent)
        prefix = folder + "/" if folder else ""
        subfolders = sorted({p[len(prefix):].split("/")[0] for p in files
                             if p.startswith(prefix) and "/" in p[len(prefix):]})
        for sub in subfolders:
            path = folder + "/" + sub if folder else sub
            w('%s<Directory Id="%s" Name=%s>' % (indent, ident("d", path), quoteattr(sub)))
            emit(path, depth + 1)
            w("%s</Directory>" % indent)

    emit("", 5)
    # The uninstall entry's icon is the program's. Windows Installer writes it
    # from ARPPRODUCTICON as well; Wine's does not.
    components.append("UninstallIcon")
    w('          <Component Id="UninstallIcon" Guid="%s" Win64="%s">' % (guid(upgrade, "uninstall icon"), win64))
    w('            <RegistryValue Root="HKLM" Key="Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\[ProductCode]"'
      ' Name="DisplayIcon" Type="string" Value="[#KelvaneExe],0" KeyPath="yes"/>')
    w("          </Component>")
    w("        </Directory>")
    w("      </Directory>")
    w('      <Directory Id="ProgramMenuFolder"/>')
    w('      <Directory Id="%s"/>' % system)
    w("    </Directory>")
    w('    <Feature Id="Complete" Title="%s" Level="1">' % PRODUCT)
    for cid in components:
        w('      <ComponentRef Id="%s"/>' % cid)
    w("    </Feature>")
    # Backups and settings are the user's: removed only on request, after the
    # program's own files, and never while an upgrade removes the old version.
    command = " & ".join(
        ['rd /s /q "[INSTALLDIR]%s"' % f for f in USER_DATA_FOLDERS]
        + ['if exist "[INSTALLDIR]%s" del /f /q "[INSTALLDIR]%s"' % (f, f) for f in USER_DATA_FILES]
        + ['rd "[INSTALLDIR]."'])
    w('    <CustomAction Id="SetCommandShell" Property="KELVANECMD" Value="[%s]cmd.exe"/>' % system)
    w('    <CustomAction Id="RemoveUserData" Property="KELVANECMD" Execute="deferred" Impersonate="no"'
      ' Return="ignore" ExeCommand=%s/>' % quoteattr("/c " + command))
    w("    <InstallExecuteSequence>")
    # The old version goes before anything of the new one is written.
    w('      <RemoveExistingProducts Sequence="1401"/>')
    w('      <Custom Action="SetCommandShell" Sequence="1002">REMOVE="ALL"</Custom>')
    w('      <Custom Action="SetInstallLocation" Sequence="1001">NOT Installed</Custom>')
    w('      <Custom Action="RemoveUserData" Sequence="3610">'
      'REMOVE="ALL" AND REMOVEUSERDATA="1" AND NOT UPGRADINGPRODUCTCODE</Custom>')
    w("    </InstallExecuteSequence>")
    w("  </Product>")
    w("</Wix>")
    return "\n".join(out) + "\n"


def nsis(stage):
    files = staged_files(stage)
    folders = set()
    for p in files:
        folder = os.path.dirname(p)
        while folder:
            folders.add(folder)
            folder = os.path.dirname(folder)
    folders = sorted(folders)
    win = lambda p: p.replace("/", "\\")
    out = ["; Made by tools/packaging/installer_sources.py from the staged program folder.",
           "!macro KELVANE_INSTALL_FILES"]
    for folder in [""] + folders:
        out.append('  SetOutPath "$INSTDIR%s"' % ("\\" + win(folder) if folder else ""))
        for p in files:
            if os.path.dirname(p) != folder:
                continue
            source = os.path.join(os.path.abspath(stage), p)
            # A Settings.xml the user changed (areas, exclusions) survives an upgrade.
            if p == "Settings.xml":
                out.append("  SetOverwrite off")
            out.append('  File "/oname=%s" "%s"' % (win(os.path.basename(p)), source))
            if p == "Settings.xml":
                out.append("  SetOverwrite on")
    out.append('  SetOutPath "$INSTDIR"')
    out.append("!macroend")
    out.append("!macro KELVANE_REMOVE_FILES")
    for p in files:
        out.append('  Delete "$INSTDIR\\%s"' % win(p))
    # Deepest first; RMDir without /r leaves a folder that still holds anything.
    for folder in sorted(folders, key=lambda f: -f.count("/")):
        out.append('  RMDir "$INSTDIR\\%s"' % win(folder))
    out.append("!macroend")
    return "\n".join(out) + "\n"


def main(argv):
    if len(argv) == 7 and argv[1] == "wxs":
        text = wxs(argv[2], argv[3], argv[4], argv[5], os.path.dirname(os.path.abspath(argv[6])))
        target = argv[6]
    elif len(argv) == 4 and argv[1] == "nsis":
        text = nsis(argv[2])
        target = argv[3]
    else:
        print(__doc__)
        return 2
    with open(target, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
