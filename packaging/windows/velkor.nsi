; The Velkor installer for Windows (x86-64), made by scripts/package-windows.sh with makensis.
; It installs velkor.exe, velkor-count.exe, velkor-synth.exe and the Qt DLLs beside them into
; Program Files\Velkor (for all users) or the user's own Programs folder (for one user), adds a
; Start menu entry, opens .blb and .blc recordings with velkor.exe on a double-click, and lists
; Velkor with its version under the installed programs. The uninstaller removes all of it.
;
;   makensis -DVERSION=0.1.0 -DSTAGE=folder-with-the-files -DOUTFILE=velkor-0.1.0-setup.exe velkor.nsi
;
; Silent: setup.exe /S [/AllUsers | /CurrentUser] [/D=folder]; uninstall.exe /S.
; A 64-bit installer, as Velkor itself is: it runs where Velkor runs.
Target amd64-unicode
SetCompressor /SOLID lzma

!ifndef VERSION
  !error "VERSION is not given (-DVERSION=...)"
!endif
!ifndef STAGE
  !error "STAGE is not given (-DSTAGE=folder)"
!endif
!ifndef OUTFILE
  !define OUTFILE "velkor-${VERSION}-setup.exe"
!endif

!define PRODUCT "Velkor"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velkor"
!define RECORDING_TYPE "Velkor.Recording"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "Velkor"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include x64.nsh
!include FileFunc.nsh

!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\velkor.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} installer"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "See licenses\ in the installed folder"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "Velkor needs a 64-bit Windows." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

; Registers one file type (".blb") as opened by velkor.exe. SHCTX is the machine's or the user's
; classes, as the install mode says.
!macro RegisterType EXT
  WriteRegStr SHCTX "Software\Classes\${EXT}" "" "${RECORDING_TYPE}"
  WriteRegStr SHCTX "Software\Classes\${EXT}\OpenWithProgids" "${RECORDING_TYPE}" ""
!macroend

; Removes a file type's link to Velkor, and the type's key only where nothing else is left in it.
!macro UnregisterType EXT
  ReadRegStr $0 SHCTX "Software\Classes\${EXT}" ""
  ${If} $0 == "${RECORDING_TYPE}"
    DeleteRegValue SHCTX "Software\Classes\${EXT}" ""
  ${EndIf}
  DeleteRegValue SHCTX "Software\Classes\${EXT}\OpenWithProgids" "${RECORDING_TYPE}"
  DeleteRegKey /ifempty SHCTX "Software\Classes\${EXT}\OpenWithProgids"
  DeleteRegKey /ifempty SHCTX "Software\Classes\${EXT}"
!macroend

Section "Velkor" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortCut "$SMPROGRAMS\Velkor.lnk" "$INSTDIR\velkor.exe" "" "$INSTDIR\velkor.exe" 0

  WriteRegStr SHCTX "Software\Classes\${RECORDING_TYPE}" "" "Velkor recording"
  WriteRegStr SHCTX "Software\Classes\${RECORDING_TYPE}\DefaultIcon" "" '"$INSTDIR\velkor.exe",0'
  WriteRegStr SHCTX "Software\Classes\${RECORDING_TYPE}\shell\open\command" "" '"$INSTDIR\velkor.exe" "%1"'
  !insertmacro RegisterType ".blb"
  !insertmacro RegisterType ".blc"
  ; Tells Explorer that the associations changed (SHCNE_ASSOCCHANGED).
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\velkor.exe",0'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
  ; The installed files by name, so that nothing a user put into the folder is removed with it.
  !include "${STAGE}.files.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Velkor.lnk"
  !insertmacro UnregisterType ".blb"
  !insertmacro UnregisterType ".blc"
  DeleteRegKey SHCTX "Software\Classes\${RECORDING_TYPE}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
