; The per-user installer of Vantorel: no administrator rights, the programs under the user's local
; application data, a Start-menu shortcut and an entry in the user's list of installed programs.
; scripts/package compiles it with makensis and these defines (paths with forward slashes):
;   VERSION    the project version, for example 1.0.0
;   WIN32_DIR  the folder holding the 32-bit vantorel.exe and hoardix.exe
;   WIN64_DIR  the folder holding the 64-bit ones
;   DOCS_DIR   the folder holding README.txt and LICENSE.txt (CR LF line ends)
;   ICON       the program's icon
;   OUTFILE    the installer to write

Unicode true
SetCompressor /SOLID lzma
; Per user: nothing here needs more than the user's own folders and HKEY_CURRENT_USER.
RequestExecutionLevel user
ManifestSupportedOS all

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantorel"
!define COPYRIGHT "Copyright (C) 2026 The Vantorel developers"
; What goes into the installation folder beside the programs. That folder may be one the user chose
; that already holds files of its own, so these names say whose they are.
!define README_NAME "Vantorel README.txt"
!define LICENSE_NAME "Vantorel LICENSE.txt"
!define UNINSTALLER_NAME "Uninstall Vantorel.exe"

Name "Vantorel ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "Vantorel ${VERSION}"
InstallDir "$LOCALAPPDATA\Programs\Vantorel"
; An installed version, wherever it was put, is replaced in place.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\vantorel.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\${README_NAME}"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Vantorel"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Vantorel ${VERSION} setup"
VIAddVersionKey "CompanyName" "The Vantorel developers"
VIAddVersionKey "LegalCopyright" "${COPYRIGHT}"
VIAddVersionKey "OriginalFilename" "Vantorel-${VERSION}-setup.exe"

; Adds the size in bytes of the file NAME in the installation folder to $0.
!macro AddInstalledSize NAME
  StrCpy $2 0
  ClearErrors
  FileOpen $1 "$INSTDIR\${NAME}" r
  ${IfNot} ${Errors}
    FileSeek $1 0 END $2
    FileClose $1
  ${EndIf}
  IntOp $0 $0 + $2
!macroend

Section "Vantorel"
  SectionIn RO
  ; The shortcut and $SMPROGRAMS belong to the current user, not to all users.
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  ; Earlier versions installed their texts and uninstaller as README.txt, LICENSE.txt and
  ; uninstall.exe. Those are removed only where the uninstall key names that old uninstaller in this
  ; very folder: in any other folder, or once this version has been installed here, files by those
  ; names belong to someone else.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "UninstallString"
  ${If} $0 == '"$INSTDIR\uninstall.exe"'
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\uninstall.exe"
  ${EndIf}
  ; Both builds travel in the installer; the machine decides which one lands.
  ${If} ${RunningX64}
    File "${WIN64_DIR}/vantorel.exe"
    File "${WIN64_DIR}/hoardix.exe"
  ${Else}
    File "${WIN32_DIR}/vantorel.exe"
    File "${WIN32_DIR}/hoardix.exe"
  ${EndIf}
  File "/oname=${README_NAME}" "${DOCS_DIR}/README.txt"
  File "/oname=${LICENSE_NAME}" "${DOCS_DIR}/LICENSE.txt"
  WriteUninstaller "$INSTDIR\${UNINSTALLER_NAME}"

  ; Started from the shortcut, Vantorel's working folder is the installation folder.
  CreateShortCut "$SMPROGRAMS\Vantorel.lnk" "$INSTDIR\vantorel.exe" "" "$INSTDIR\vantorel.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Vantorel"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vantorel.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Vantorel developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER_NAME}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER_NAME}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; In KiB, as the list of installed programs shows it. Only the installed files count: the folder may
  ; be one of the user's, with files and whole subfolders of its own.
  StrCpy $0 0
  !insertmacro AddInstalledSize "vantorel.exe"
  !insertmacro AddInstalledSize "hoardix.exe"
  !insertmacro AddInstalledSize "${README_NAME}"
  !insertmacro AddInstalledSize "${LICENSE_NAME}"
  !insertmacro AddInstalledSize "${UNINSTALLER_NAME}"
  IntOp $0 $0 / 1024
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\Vantorel.lnk"
  Delete "$INSTDIR\vantorel.exe"
  Delete "$INSTDIR\hoardix.exe"
  Delete "$INSTDIR\${README_NAME}"
  Delete "$INSTDIR\${LICENSE_NAME}"
  Delete "$INSTDIR\${UNINSTALLER_NAME}"
  ; Only when empty: anything the user put there, before or after installing, stays.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; SOFTWARE\Vantorel, under HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER, holds the user's locations
  ; and settings: it is left as it is, for a later installation to find.
SectionEnd
