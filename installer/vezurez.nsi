; The setup program of the Vezurez card utilities: both programs and the help file in
; Program Files\Vezurez, Start menu entries for all users, the Status Monitor at logon (optional,
; on by default), and an uninstaller that takes away exactly that.
; makensis -DVERSION=x.y.z -DBUILD_DIR=<win32 build> -DOUT_FILE=<setup.exe> vezurez.nsi
!ifndef VERSION | BUILD_DIR | OUT_FILE
  !error "VERSION, BUILD_DIR and OUT_FILE must be defined"
!endif

!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WinMessages.nsh"

!define PRODUCT "Vezurez Wireless LAN Utilities"
!define PUBLISHER "Vezurez"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vezurez"
!define TOOL_NAME "Vezurez Site Survey & Configuration Tool"
!define MONITOR_NAME "Vezurez Status Monitor"
; The windows of the running programs, by their captions.
!define TOOL_CAPTION "Vezurez Site Survey & Configuration Tool"
!define MONITOR_CAPTION "Vezurez Status Monitor Information"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES\Vezurez"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

Page components
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Files in use cannot be replaced or removed: the running programs are asked to end, the tool
; through Exit and the monitor through Remove (both the dialogs' OK command).
!macro CloseRunningPrograms UN
  Function ${UN}CloseRunningPrograms
    FindWindow $0 "#32770" "${TOOL_CAPTION}"
    FindWindow $1 "#32770" "${MONITOR_CAPTION}"
    ${If} $0 <> 0
    ${OrIf} $1 <> 0
      MessageBox MB_OKCANCEL|MB_ICONINFORMATION \
        "The Vezurez programs are running. Setup will close them." /SD IDOK IDOK close
      Abort
      close:
      ${If} $0 <> 0
        SendMessage $0 ${WM_COMMAND} 1 0 /TIMEOUT=5000
      ${EndIf}
      ${If} $1 <> 0
        SendMessage $1 ${WM_COMMAND} 1 0 /TIMEOUT=5000
      ${EndIf}
      Sleep 1000
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro CloseRunningPrograms ""
!insertmacro CloseRunningPrograms "un."

Section "Vezurez programs (required)" SecPrograms
  SectionIn RO
  Call CloseRunningPrograms
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${BUILD_DIR}\zazivev\zazivev.exe"
  File "${BUILD_DIR}\zazivev\zazivev.hlp"
  File "${BUILD_DIR}\ruvedor\ruvedor.exe"
  ; The console program, beside the two; PATH is left as it is.
  File "${BUILD_DIR}\vzsurvey\vzsurvey.exe"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The shortcuts start in the install folder (the current output path).
  CreateDirectory "$SMPROGRAMS\Vezurez"
  CreateShortCut "$SMPROGRAMS\Vezurez\${TOOL_NAME}.lnk" "$INSTDIR\zazivev.exe"
  CreateShortCut "$SMPROGRAMS\Vezurez\${MONITOR_NAME}.lnk" "$INSTDIR\ruvedor.exe"
  CreateShortCut "$SMPROGRAMS\Vezurez\Uninstall Vezurez.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zazivev.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; A Startup-folder shortcut rather than a Run key: the shortcut carries the install folder as the
; working directory, where the monitor looks for zazivev.exe before PATH when its icon is
; double-clicked. A Run key would start it in whatever folder the shell happens to be in.
Section "Start the Status Monitor at logon" SecLogon
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMSTARTUP\${MONITOR_NAME}.lnk" "$INSTDIR\ruvedor.exe"
SectionEnd

Section "Uninstall"
  Call un.CloseRunningPrograms
  SetShellVarContext all
  Delete "$SMSTARTUP\${MONITOR_NAME}.lnk"
  Delete "$SMPROGRAMS\Vezurez\${TOOL_NAME}.lnk"
  Delete "$SMPROGRAMS\Vezurez\${MONITOR_NAME}.lnk"
  Delete "$SMPROGRAMS\Vezurez\Uninstall Vezurez.lnk"
  RMDir "$SMPROGRAMS\Vezurez"
  Delete "$INSTDIR\zazivev.exe"
  Delete "$INSTDIR\zazivev.hlp"
  Delete "$INSTDIR\ruvedor.exe"
  Delete "$INSTDIR\vzsurvey.exe"
  Delete "$INSTDIR\uninstall.exe"
  ; Only if empty: files the user put there stay, and so does the folder.
  RMDir "$INSTDIR"
  ; The adapter's own settings belong to its driver and stay.
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
