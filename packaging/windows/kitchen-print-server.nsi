; The Windows installer. Installs for the signed-in user into a folder the operator can write
; to (the program folder also holds the configuration file and the daily logs), starts the
; program with the user's session, and writes no configuration. The uninstaller removes what was
; installed and leaves the configuration file and the logs.
;
; makensis -DVERSION=<version> -DSTAGE=<installed program folder> -DFILES=<file lists>
;          -DOUTFILE=<setup.exe> kitchen-print-server.nsi

Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define NAME "kitchen-print-server"
!define TITLE "주방출력서버"
!define PROGRAM "kitchen-print-server.exe"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${NAME}"

Name "${TITLE} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\${NAME}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

!include "MUI2.nsh"
!define MUI_ICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Korean"
!insertmacro MUI_LANGUAGE "English"

Section "Install"
  SetOutPath "$INSTDIR"
  !include "${FILES}\install-files.nsh"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${TITLE}"
  CreateShortcut "$SMPROGRAMS\${TITLE}\${TITLE}.lnk" "$INSTDIR\${PROGRAM}" "" "$INSTDIR\${PROGRAM}" 0
  CreateShortcut "$SMPROGRAMS\${TITLE}\${TITLE} 제거.lnk" "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "${RUN_KEY}" "${NAME}" '"$INSTDIR\${PROGRAM}"'

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${TITLE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  DeleteRegValue HKCU "${RUN_KEY}" "${NAME}"
  Delete "$SMPROGRAMS\${TITLE}\${TITLE}.lnk"
  Delete "$SMPROGRAMS\${TITLE}\${TITLE} 제거.lnk"
  RMDir "$SMPROGRAMS\${TITLE}"

  !include "${FILES}\uninstall-files.nsh"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: 환경설정.CFG and the log folders stay.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
