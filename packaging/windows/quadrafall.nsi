; The Windows installer: installs Quadrafall for the current user, without
; administrator rights. pack.sh runs makensis with
;   -DVERSION=1.0.0 -DSTAGE=<folder with the files> -DOUTFILE=<setup.exe>
Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestDPIAware true

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quadrafall"
!define SCORES_FOLDER "$APPDATA\Quadrafall"
; The game makes the folder when it is missing and keeps its Top Ten there.
!define SCORES_ARGUMENT '--top-ten-folder "${SCORES_FOLDER}"'

Name "Quadrafall"
BrandingText "Quadrafall ${VERSION}"
OutFile "${OUTFILE}"
; Installing again goes where the last install went, and replaces it.
InstallDir "$LOCALAPPDATA\Programs\Quadrafall"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "Quadrafall"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Quadrafall ${VERSION} installer"
VIAddVersionKey /LANG=0 "CompanyName" "The Quadrafall developers"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (c) 2026 The Quadrafall developers"

!include "FileFunc.nsh"
!include "MUI2.nsh"
!define MUI_ICON "${STAGE}\quadrafall.ico"
!define MUI_UNICON "${STAGE}\quadrafall.ico"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Quadrafall"
!define MUI_FINISHPAGE_RUN_FUNCTION StartFromTheScoresFolder
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Quadrafall"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${STAGE}\quadrafall.exe"
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The shortcut starts the game in its own folder, which is there as long
  ; as the game is (the shortcut takes its working folder from SetOutPath),
  ; and names the Top Ten's folder, which the player may delete.
  CreateShortCut "$SMPROGRAMS\Quadrafall.lnk" "$INSTDIR\quadrafall.exe" '${SCORES_ARGUMENT}' \
    "$INSTDIR\quadrafall.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Quadrafall"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Quadrafall developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quadrafall.exe"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; What the folder takes, the uninstaller too, in KiB rounded up.
  ${GetSize} "$INSTDIR" "/S=0B /G=0" $0 $1 $2
  IntOp $0 $0 + 1023
  IntOp $0 $0 / 1024
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function StartFromTheScoresFolder
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\quadrafall.exe" ${SCORES_ARGUMENT}'
FunctionEnd

; The player's Top Ten in the scores folder stays.
Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\Quadrafall.lnk"
  Delete "$INSTDIR\quadrafall.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
