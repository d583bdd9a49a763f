; Setup for Lumarel and Flurrin. Built by installer/make-setup, which stages
; the files and writes the lists this script includes (files.nsh).
;
; Per user by default: no elevation, the user's own programs folder, the
; uninstall entry under HKCU. Run elevated with /AllUsers (or answer Yes when
; an administrator is asked) to install into Program Files for everyone.
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include "${FILES_NSH}"

!define PRODUCT "Lumarel"
!define PUBLISHER "Quorvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumarel"
!define LUMAREL_KEY "Software\Quorvane\Lumarel"
!define FLURRIN_KEY "Software\VB and VBA Program Settings\Vessaro Flurrin"
!define MENU_FOLDER "$SMPROGRAMS\Lumarel"
; Windows runs this component's command once for every user who logs on.
!define ACTIVE_SETUP_KEY "Software\Microsoft\Active Setup\Installed Components\Quorvane.Lumarel.Flurrin"
!define EXIT_COMMAND 106

Name "Lumarel ${VERSION}"
Caption "Lumarel ${VERSION} Setup"
UninstallCaption "Lumarel Uninstall"
OutFile "${OUTFILE}"
BrandingText "Quorvane"
Icon "${STAGE}\setup.ico"
UninstallIcon "${STAGE}\setup.ico"
ShowInstDetails show
ShowUninstDetails show
AutoCloseWindow true

VIProductVersion "${VERSION}.0.0"
!searchreplace VERSION_COMMAS "${VERSION}.0.0" "." ","
VIAddVersionKey ProductName "Lumarel"
VIAddVersionKey CompanyName "${PUBLISHER}"
VIAddVersionKey FileDescription "Lumarel and Flurrin Setup"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey LegalCopyright "Quorvane"

Var AllUsers

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; A running lumarel holds its program and its helper library open: ask every
; instance to exit as the tray menu's Exit does, and wait until its process
; has ended (at most 15 s each). The uninstaller started from lumarel's own
; tray menu finds it already on its way out.
!macro DefineCloseLumarel prefix
Function ${prefix}CloseLumarel
  StrCpy $R2 0
  ${Do}
    FindWindow $R0 "Lumarel" "QuorvaneLumarel"
    ${If} $R0 == 0
      FindWindow $R0 "SSP Lumarel" "QuorvaneLumarel"
    ${EndIf}
    ${If} $R0 == 0
    ${OrIf} $R2 >= 4
      ${Break}
    ${EndIf}
    DetailPrint "Asking the running Lumarel to exit"
    System::Call 'user32::GetWindowThreadProcessId(p $R0, *i .r1) i'
    System::Call 'kernel32::OpenProcess(i 0x100000, i 0, i r1) p .r2'
    System::Call 'user32::PostMessage(p $R0, i ${WM_COMMAND}, p ${EXIT_COMMAND}, p 0) i'
    ${If} $2 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p r2, i 15000) i'
      System::Call 'kernel32::CloseHandle(p r2)'
    ${EndIf}
    IntOp $R2 $R2 + 1
  ${Loop}
  ; Its window goes before its process ends; Windows keeps a running
  ; program's file from being written, so wait (at most 15 s) until it can be.
  StrCpy $R2 0
  ${DoWhile} ${FileExists} "$INSTDIR\lumarel.exe"
    ClearErrors
    FileOpen $R3 "$INSTDIR\lumarel.exe" a
    ${IfNot} ${Errors}
      FileClose $R3
      ${Break}
    ${EndIf}
    ${If} $R2 >= 150
      ${Break}
    ${EndIf}
    Sleep 100
    IntOp $R2 $R2 + 1
  ${Loop}
FunctionEnd
!macroend
!insertmacro DefineCloseLumarel ""
!insertmacro DefineCloseLumarel "un."

Function .onInit
  StrCpy $AllUsers 0
  UserInfo::GetAccountType
  Pop $R0
  ${GetParameters} $R1
  ClearErrors
  ${GetOptions} $R1 "/AllUsers" $R2
  ${IfNot} ${Errors}
    ${If} $R0 != "Admin"
      MessageBox MB_ICONSTOP|MB_OK "Installing Lumarel for all users needs administrator rights.$\r$\n$\r$\nRun the setup program as an administrator, or without /AllUsers to install it for yourself." /SD IDOK
      SetErrorLevel 740
      Quit
    ${EndIf}
    StrCpy $AllUsers 1
  ${ElseIf} $R0 == "Admin"
    MessageBox MB_ICONQUESTION|MB_YESNO "Install Lumarel for all users of this computer?$\r$\n$\r$\nChoose No to install it only for yourself." /SD IDNO IDNO +2
    StrCpy $AllUsers 1
  ${EndIf}
  ${If} $AllUsers == 1
    SetShellVarContext all
    ${If} $INSTDIR == ""
      StrCpy $INSTDIR "$PROGRAMFILES\Lumarel"
    ${EndIf}
  ${Else}
    SetShellVarContext current
    ${If} $INSTDIR == ""
      ; The user's own programs folder (Windows 7 and later), else its usual place.
      ClearErrors
      GetKnownFolderPath $R3 {5CD7AEE2-2219-4A67-B85D-6C9CE15660CB}
      ${If} ${Errors}
      ${OrIf} $R3 == ""
        StrCpy $R3 "$LOCALAPPDATA\Programs"
      ${EndIf}
      StrCpy $INSTDIR "$R3\Lumarel"
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "Lumarel and Flurrin"
  Call CloseLumarel
  SetOutPath "$INSTDIR"
  !insertmacro InstallFiles
  ; The program scans this folder for the user's own bulbs.
  CreateDirectory "$INSTDIR\Lumarel Bulbs"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; flurrin finds its pack through this setting, which lives with each user;
  ; for all users Windows writes it for every other user at their next logon.
  WriteRegStr HKCU "${FLURRIN_KEY}\Config" "install_path" "$INSTDIR\"
  ${If} $AllUsers == 1
    WriteRegStr HKLM "${ACTIVE_SETUP_KEY}" "" "Flurrin"
    WriteRegStr HKLM "${ACTIVE_SETUP_KEY}" "Version" "${VERSION_COMMAS}"
    WriteRegStr HKLM "${ACTIVE_SETUP_KEY}" "StubPath" 'reg.exe add "HKCU\${FLURRIN_KEY}\Config" /v install_path /d "$INSTDIR\\" /f'
  ${EndIf}

  CreateDirectory "${MENU_FOLDER}"
  CreateShortcut "${MENU_FOLDER}\Lumarel.lnk" "$INSTDIR\lumarel.exe" "" "$INSTDIR\lumarel.exe" 0
  CreateShortcut "${MENU_FOLDER}\Flurrin Snow Screen Saver.lnk" "$INSTDIR\flurrin.scr" "/s" "$INSTDIR\flurrin.scr" 0
  CreateShortcut "${MENU_FOLDER}\Flurrin Settings.lnk" "$INSTDIR\flurrin.scr" "/c" "$INSTDIR\flurrin.scr" 0
  CreateShortcut "${MENU_FOLDER}\Lumarel Help.lnk" "$INSTDIR\Help\index.html"
  CreateShortcut "${MENU_FOLDER}\Uninstall Lumarel.lnk" "$INSTDIR\Uninstall.exe" "" "$INSTDIR\Uninstall.exe" 0

  ; The entry in Windows' list of programs: HKCU for one user, HKLM for all.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Lumarel and Flurrin"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\lumarel.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function .onInstSuccess
  ${If} $AllUsers == 0
    MessageBox MB_ICONQUESTION|MB_YESNO "Lumarel is installed. Start it now?" /SD IDNO IDNO +2
    Exec '"$INSTDIR\lumarel.exe"'
  ${EndIf}
FunctionEnd

; ---------------------------------------------------------------- uninstall

Function un.onInit
  ; Installed for all users when the machine's entry names this folder.
  StrCpy $AllUsers 0
  ReadRegStr $R0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $R0 == $INSTDIR
    UserInfo::GetAccountType
    Pop $R1
    ${If} $R1 != "Admin"
      MessageBox MB_ICONSTOP|MB_OK "Lumarel was installed for all users. Only an administrator can remove it." /SD IDOK
      SetErrorLevel 740
      Quit
    ${EndIf}
    StrCpy $AllUsers 1
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
FunctionEnd

; Deletes a registry key when its default value is the given text.
!macro DeleteKeyIfDefault root key text
  ReadRegStr $0 ${root} "${key}" ""
  ${If} $0 == "${text}"
    DeleteRegKey ${root} "${key}"
  ${EndIf}
!macroend

; The ".bul" association of this program, in one classes root.
!macro RemoveAssociation root base
  ReadRegStr $0 ${root} "${base}Lumarel.Bulb\shell\open\command" ""
  ${If} $0 == '"$INSTDIR\lumarel.exe" open %1'
    DeleteRegKey ${root} "${base}Lumarel.Bulb"
    !insertmacro DeleteKeyIfDefault ${root} "${base}.bul" "Lumarel.Bulb"
  ${EndIf}
!macroend

; True (in $0) when a selected screen saver file is Lumarel's stub.
Function un.IsLumarelSaver
  Exch $1
  ${GetFileName} "$1" $0
  ${If} $0 == "Lumarel.scr"
    StrCpy $0 1
  ${Else}
    ; Windows keeps the selection as a short name.
    System::Call 'kernel32::GetLongPathName(t r1, t .r2, i ${NSIS_MAX_STRLEN}) i .r3'
    ${GetFileName} "$2" $0
    ${If} $3 <> 0
    ${AndIf} $0 == "Lumarel.scr"
      StrCpy $0 1
    ${Else}
      StrCpy $0 0
    ${EndIf}
  ${EndIf}
  Pop $1
FunctionEnd

Section "Uninstall"
  SetAutoClose true
  Call un.CloseLumarel

  !insertmacro RemoveFiles
  Delete "$INSTDIR\Uninstall.exe"
  ; lumarel writes its MIDI reset song from its own resource: part of the
  ; program, not of the user's music.
  Delete "$INSTDIR\Lumarel Music\reset.mid"
  RMDir "$INSTDIR\Lumarel Music"

  ; What the user made lives on only if wanted.
  MessageBox MB_ICONQUESTION|MB_YESNO|MB_DEFBUTTON2 "Do you also want to delete the bulbs, songs and pictures you added to Lumarel?$\r$\n$\r$\nChoose No to keep them in $INSTDIR." /SD IDNO IDNO keep_own_files
    RMDir /r "$INSTDIR\Lumarel Bulbs"
    RMDir /r "$INSTDIR\Lumarel Music"
    RMDir /r "$INSTDIR\Lumarel Pictures"
    SetShellVarContext current
    RMDir /r "$APPDATA\Lumarel"
    ${If} $AllUsers == 1
      SetShellVarContext all
    ${EndIf}
  keep_own_files:
  RMDir "$INSTDIR\Lumarel Bulbs"
  SetShellVarContext current
  Delete "$APPDATA\Lumarel\Lumarel Music\reset.mid"
  RMDir "$APPDATA\Lumarel\Lumarel Music"
  RMDir "$APPDATA\Lumarel\Lumarel Bulbs"
  RMDir "$APPDATA\Lumarel\Lumarel Pictures"
  RMDir "$APPDATA\Lumarel"
  ${If} $AllUsers == 1
    SetShellVarContext all
  ${EndIf}
  RMDir "$INSTDIR"

  ; Everything below belongs to the user who runs the uninstaller.
  SetShellVarContext current

  MessageBox MB_ICONQUESTION|MB_YESNO "Do you want to keep your Lumarel and Flurrin settings, in case you install them again?" /SD IDYES IDYES keep_settings
    DeleteRegKey HKCU "${LUMAREL_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Quorvane"
    DeleteRegKey HKCU "${FLURRIN_KEY}"
  keep_settings:
  ; Settings kept or not, nothing may point at the removed program.
  ReadRegStr $0 HKCU "${LUMAREL_KEY}" "Path"
  ${If} $0 == "$INSTDIR\lumarel.exe"
    DeleteRegValue HKCU "${LUMAREL_KEY}" "Path"
  ${EndIf}
  ReadRegStr $0 HKCU "${FLURRIN_KEY}\Config" "install_path"
  ${If} $0 == "$INSTDIR\"
    DeleteRegKey HKCU "${FLURRIN_KEY}\Config"
    DeleteRegKey /ifempty HKCU "${FLURRIN_KEY}"
  ${EndIf}

  !insertmacro RemoveAssociation HKCR ""
  !insertmacro RemoveAssociation HKCU "Software\Classes\"

  Delete "$SMSTARTUP\Lumarel.lnk"

  ReadRegStr $0 HKCU "Control Panel\Desktop" "SCRNSAVE.EXE"
  Push $0
  Call un.IsLumarelSaver
  ${If} $0 == 1
    DeleteRegValue HKCU "Control Panel\Desktop" "SCRNSAVE.EXE"
  ${EndIf}
  ReadINIStr $0 "$WINDIR\system.ini" "boot" "SCRNSAVE.EXE"
  Push $0
  Call un.IsLumarelSaver
  ${If} $0 == 1
    DeleteINIStr "$WINDIR\system.ini" "boot" "SCRNSAVE.EXE"
  ${EndIf}
  ; The saver stub lumarel wrote: its own per-user copy, and the system one.
  Delete "$LOCALAPPDATA\Quorvane\Lumarel\Lumarel.scr"
  RMDir "$LOCALAPPDATA\Quorvane\Lumarel"
  RMDir "$LOCALAPPDATA\Quorvane"
  Delete "$SYSDIR\Lumarel.scr"

  ${If} $AllUsers == 1
    SetShellVarContext all
  ${EndIf}
  Delete "${MENU_FOLDER}\Lumarel.lnk"
  Delete "${MENU_FOLDER}\Flurrin Snow Screen Saver.lnk"
  Delete "${MENU_FOLDER}\Flurrin Settings.lnk"
  Delete "${MENU_FOLDER}\Lumarel Help.lnk"
  Delete "${MENU_FOLDER}\Uninstall Lumarel.lnk"
  RMDir "${MENU_FOLDER}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ${If} $AllUsers == 1
    DeleteRegKey HKLM "${ACTIVE_SETUP_KEY}"
  ${EndIf}
SectionEnd
