; The ZEVO installer for Windows, made by scripts/windows-build with makensis:
;   makensis -DVERSION=0.1.0 -DSTAGE=<folder of the files> -DOUTFILE=<setup.exe> zevo.nsi
; STAGE holds exactly what is installed; files.nsh (written beside this script's copy by the build)
; lists every file, so the uninstaller removes what was installed and nothing else: the user's
; settings, parameter files and restore points live in the user's own folders and stay.
Unicode true
; A 64-bit installer for the 64-bit programs (and Wine without its 32-bit part runs it).
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"

Name "ZEVO ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\ZEVO"
InstallDirRegKey HKLM "Software\ZEVO" "InstallDir"
RequestExecutionLevel admin
BrandingText "ZEVO ${VERSION}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZEVO"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Czech"
!insertmacro MUI_LANGUAGE "German"

!include "files.nsh"

Section "ZEVO"
  SetRegView 64
  SetOutPath "$INSTDIR"
  !insertmacro ZevoInstallFiles
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateDirectory "$SMPROGRAMS\ZEVO"
  CreateShortcut "$SMPROGRAMS\ZEVO\ZEVO.lnk" "$INSTDIR\zevo.exe"
  WriteRegStr HKLM "Software\ZEVO" "InstallDir" "$INSTDIR"
  ; What the Apps list shows.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "ZEVO"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "ZEVO"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zevo.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
  SetRegView 64
  !insertmacro ZevoRemoveFiles
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\ZEVO\ZEVO.lnk"
  RMDir "$SMPROGRAMS\ZEVO"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\ZEVO"
SectionEnd
