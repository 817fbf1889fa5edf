; The setup of Lumeyra: a per-machine, 64-bit installation into Program
; Files. Built by the build (cmake/package.cmake) as
;   makensis -DVERSION=x.y.z -DSTAGE=<folder with the files> -DOUTFILE=<setup.exe> Lumeyra.nsi
; /S installs and uninstalls silently; a silent uninstall keeps the user's
; settings.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestSupportedOS all

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define PRODUCT "Lumeyra"
!define PUBLISHER "Lumeyra developers"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumeyra"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The program's main window: a dialog captioned with the program's name.
!define MAIN_WINDOW_CLASS "#32770"
; Held by the program from start to exit, seen from every session.
!define RUNNING_MUTEX "Global\Lumeyra.Running"
!define SYNCHRONIZE 0x00100000
!define ERROR_ACCESS_DENIED 5
; The Users group by its well-known SID, which every language of Windows
; knows (its name differs: "Users", "Пользователи", ...).
!define USERS_SID "*S-1-5-32-545"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINST_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1049 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1049 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1049 "FileDescription" "Установка ${PRODUCT}"
VIAddVersionKey /LANG=1049 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}. GPL-3.0-or-later."

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; No "run Lumeyra" on the last page: started from here it would run with
; the setup's administrator rights for the whole session.
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

!define RUNNING_TEXT "Lumeyra запущена — у вас или у другого пользователя этого компьютера. Завершите её: правый щелчок по очкам или по значку в области уведомлений, «Завершить роботу». Если она запущена у другого пользователя, пусть он завершит её или выйдет из системы. Затем нажмите «Повтор»."
!define NO_RIGHTS_TEXT "Не удалось дать пользователям право менять файл $INSTDIR\Pass.bin (icacls: $0). Пароль сможет задать только администратор."

; Lumeyra ignores close requests by design, so it cannot be closed for the
; user: ask them to exit it from its menu, and wait until they have.
; The window is found only in the setup's own session (and is all an older
; version offers); the mutex shows it running for any user. Another user's
; mutex may refuse to be opened by us, which proves it there all the same.
!macro CHECK_NOT_RUNNING un
Function ${un}CheckNotRunning
  retry:
    FindWindow $0 "${MAIN_WINDOW_CLASS}" "${PRODUCT}"
    IntCmp $0 0 0 running running
    System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${RUNNING_MUTEX}") p.r0 ?e'
    Pop $1
    IntCmp $0 0 0 held held
    IntCmp $1 ${ERROR_ACCESS_DENIED} running done done
  held:
    System::Call 'kernel32::CloseHandle(p r0)'
  running:
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${RUNNING_TEXT}" /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Quit
  done:
FunctionEnd
!macroend
!insertmacro CHECK_NOT_RUNNING ""
!insertmacro CHECK_NOT_RUNNING "un."

Function .onInit
  SetRegView 64
  SetShellVarContext all
  Call CheckNotRunning
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
  Call un.CheckNotRunning
FunctionEnd

Section "Lumeyra"
  SetOutPath "$INSTDIR"
  File "${STAGE}/Lumeyra.exe"
  File "${STAGE}/HookKeyUp.dll"
  File "${STAGE}/OnReleaseWarning.wav"
  File "${STAGE}/OnStartWork.wav"
  File "${STAGE}/Lumeyra.CHM"
  File "${STAGE}/CREDITS"
  File "${STAGE}/LICENSE"
  ; The administrative template, for administrators to copy into
  ; PolicyDefinitions.
  SetOutPath "$INSTDIR\policies"
  File "${STAGE}/policies/Lumeyra.admx"
  SetOutPath "$INSTDIR\policies\en-US"
  File "${STAGE}/policies/en-US/Lumeyra.adml"
  SetOutPath "$INSTDIR\policies\ru-RU"
  File "${STAGE}/policies/ru-RU/Lumeyra.adml"
  SetOutPath "$INSTDIR"
  ; The password is the users' data: an upgrade keeps the file there; a
  ; first installation puts the record of the empty password.
  SetOverwrite off
  File "${STAGE}/Pass.bin"
  SetOverwrite on
  ; Any user may set the shared password; the rest of the folder stays
  ; read-only for them.
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR\Pass.bin" /grant ${USERS_SID}:(M)'
  Pop $0
  StrCmp $0 "0" +2
    MessageBox MB_OK|MB_ICONEXCLAMATION "${NO_RIGHTS_TEXT}" /SD IDOK

  ; Start at log-on, written as the program itself writes it (the full path,
  ; unquoted): the setup runs elevated, the program usually does not.
  WriteRegStr HKLM "${RUN_KEY}" "${PRODUCT}" "$INSTDIR\Lumeyra.exe"

  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Lumeyra.exe"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Lumeyra.exe"
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\Lumeyra.exe"
  Delete "$INSTDIR\HookKeyUp.dll"
  Delete "$INSTDIR\OnReleaseWarning.wav"
  Delete "$INSTDIR\OnStartWork.wav"
  Delete "$INSTDIR\Lumeyra.CHM"
  Delete "$INSTDIR\CREDITS"
  Delete "$INSTDIR\LICENSE"
  Delete "$INSTDIR\policies\Lumeyra.admx"
  Delete "$INSTDIR\policies\en-US\Lumeyra.adml"
  Delete "$INSTDIR\policies\ru-RU\Lumeyra.adml"
  RMDir "$INSTDIR\policies\en-US"
  RMDir "$INSTDIR\policies\ru-RU"
  RMDir "$INSTDIR\policies"
  Delete "$INSTDIR\Pass.bin"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
  DeleteRegKey HKLM "${UNINST_KEY}"
  ; The settings belong to the user: removed only when they say so, never
  ; by a silent uninstall.
  MessageBox MB_YESNO|MB_ICONQUESTION "Удалить и настройки Lumeyra (время работы и отдыха, место окна)?" \
    /SD IDNO IDNO keep
    DeleteRegKey HKCU "Software\${PRODUCT}"
  keep:
SectionEnd
