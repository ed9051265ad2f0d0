; The setup program for home users. tools/package defines VERSION, ARCH
; (win32 or win64), STAGE (the staged program folder), FILES (the file lists
; made from it by installer_sources.py), ICON and OUTFILE.
Unicode true
!if "${ARCH}" == "win64"
  Target amd64-unicode
!endif
!include "MUI2.nsh"
!include "x64.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"
!include "${FILES}"

!define PRODUCT "Kelvane"
!define PUBLISHER "Kelvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvane"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
!if "${ARCH}" == "win64"
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif
; An upgrade goes where the last version went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=1033 "LegalCopyright" "MIT License"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetShellVarContext all
!if "${ARCH}" == "win64"
  SetRegView 64
!else
  ; 64-bit Windows gets the 64-bit build from its own setup program.
  ${If} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "This is the 32-bit ${PRODUCT}. On 64-bit Windows run ${PRODUCT}-${VERSION}-win64-setup.exe." /SD IDOK
    SetErrorLevel 3
    Quit
  ${EndIf}
!endif
FunctionEnd

Section "-Program"
  SetOutPath "$INSTDIR"
  !insertmacro KELVANE_INSTALL_FILES
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Kelvane.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Start menu shortcut"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Kelvane.exe" "" "$INSTDIR\Kelvane.exe" 0
SectionEnd

Section /o "Desktop shortcut"
  CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\Kelvane.exe" "" "$INSTDIR\Kelvane.exe" 0
SectionEnd

Section "-un.Program"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$DESKTOP\${PRODUCT}.lnk"
  !insertmacro KELVANE_REMOVE_FILES
  Delete "$INSTDIR\uninstall.exe"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

; The user's data: kept unless ticked.
Section /o "un.My backups and settings" UserData
  RMDir /r "$INSTDIR\Backup"
  RMDir /r "$INSTDIR\PartialBackup"
  Delete "$INSTDIR\Settings.ini"
  Delete "$INSTDIR\tmp_rccantremove.lst"
SectionEnd

Section "-un.Folder"
  ; Only when nothing of the user's is left in it.
  RMDir "$INSTDIR"
SectionEnd

Function un.onInit
  SetShellVarContext all
!if "${ARCH}" == "win64"
  SetRegView 64
!endif
  ; A silent removal asks nothing: /REMOVEUSERDATA ticks the user's data.
  ${un.GetParameters} $R0
  ClearErrors
  ${un.GetOptions} $R0 "/REMOVEUSERDATA" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UserData}
  ${EndIf}
FunctionEnd
