; The Windows installer of Drovane, built on Linux with NSIS (makensis). It installs the program
; under Program Files with its own page, a Start-menu shortcut and an uninstaller listed in the
; installed programs, and prepares the settings key (the program does that part itself, run with
; --install-settings). Defined on the command line: EXE, PAGE_DIR, ICON, VERSION, OUTFILE, and
; in a signed build SIGN, the shell command (cmake/sign_windows_file.sh with the certificate) that
; signs the program named after it.
Unicode true
Target amd64-unicode
RequestExecutionLevel admin
SetCompressor /SOLID lzma

; The uninstaller is signed before the installer packs it, the installer once it is complete. A
; failed signing stops makensis.
!ifdef SIGN
  !uninstfinalize `${SIGN} --name "Drovane uninstaller" "%1"` = 0
  !finalize `${SIGN} --name "Drovane setup" "%1"` = 0
!endif

!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "MUI2.nsh"
!include "WinMessages.nsh"
!include "x64.nsh"

!define UNINSTALL_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Drovane"
!define SETTINGS_KEY "SOFTWARE\Corvell\Drovane"
!define MAKER_KEY "SOFTWARE\Corvell"
!define RUN_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Drovane Startup"
; The main window's caption in each language the program speaks.
!define MAIN_CAPTION_EN "Mosquito Repeller v1.0"
!define MAIN_CAPTION_KO "모기 퇴치용 프로그램 v1.0"

Name "Drovane"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Drovane"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Drovane"
VIAddVersionKey "CompanyName" "Corvell"
VIAddVersionKey "FileDescription" "Drovane installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright © 2026 Corvell"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; The finish page's "Run Drovane" starts the program as the desktop's user: run directly, it
; would have this installer's administrator rights (another user's settings, a second copy).
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartAsDesktopUser
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; English first, for any language the installer does not speak; Korean for a Korean Windows.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Korean"

LangString SETTINGS_NOT_PREPARED ${LANG_ENGLISH} "The settings key could not be prepared: standard users will see messages."
LangString SETTINGS_NOT_PREPARED ${LANG_KOREAN} "설정 키를 준비하지 못했습니다. 일반 사용자에게는 메시지가 표시됩니다."
LangString NOT_STARTED ${LANG_ENGLISH} "Drovane could not be started for you. Start it from the Start menu."
LangString NOT_STARTED ${LANG_KOREAN} "Drovane을 시작하지 못했습니다. 시작 메뉴에서 시작하십시오."
LangString NEEDS_64_BIT ${LANG_ENGLISH} "Drovane needs 64-bit Windows. This Windows is 32-bit: nothing was installed."
LangString NEEDS_64_BIT ${LANG_KOREAN} "Drovane은 64비트 Windows가 필요합니다. 이 Windows는 32비트이므로 아무것도 설치하지 않았습니다."

Function StartAsDesktopUser
  ExecWait '"$INSTDIR\drovane.exe" --start-as-desktop-user' $0
  ${If} $0 != 0
    MessageBox MB_OK|MB_ICONINFORMATION "$(NOT_STARTED)"
  ${EndIf}
FunctionEnd

; Every copy of the program that runs, in either language, ended without its question (Cancel, as
; the Escape key), so that its file can go.
!macro EndRunningCopies
  StrCpy $1 0
  ${Do}
    FindWindow $0 "#32770" "${MAIN_CAPTION_EN}"
    ${If} $0 == 0
      FindWindow $0 "#32770" "${MAIN_CAPTION_KO}"
    ${EndIf}
    ${If} $0 == 0
    ${OrIf} $1 >= 20
      ${ExitDo}
    ${EndIf}
    SendMessage $0 ${WM_COMMAND} 2 0 /TIMEOUT=2000
    Sleep 250
    IntOp $1 $1 + 1
  ${Loop}
!macroend

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "$(NEEDS_64_BIT)" /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Drovane"
  !insertmacro EndRunningCopies
  SetOutPath "$INSTDIR"
  File "${EXE}"
  SetOutPath "$INSTDIR\page"
  File "${PAGE_DIR}/index.html"
  File "${PAGE_DIR}/banner.gif"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Drovane.lnk" "$INSTDIR\drovane.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Drovane"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Corvell"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\drovane.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; What the installed files take, in KiB, as the installed programs list shows it.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; The settings key with valid stored values kept, else the defaults, writable by the Users
  ; group (that key alone), so that standard users keep their settings without messages.
  ExecWait '"$INSTDIR\drovane.exe" --install-settings' $0
  ${If} $0 != 0
    DetailPrint "$(SETTINGS_NOT_PREPARED)"
  ${EndIf}
SectionEnd

Section "Uninstall"
  !insertmacro EndRunningCopies
  Delete "$INSTDIR\drovane.exe"
  Delete "$INSTDIR\page\index.html"
  Delete "$INSTDIR\page\banner.gif"
  RMDir "$INSTDIR\page"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Drovane.lnk"

  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "${MAKER_KEY}"
  ; Start at logon: the machine's value, and the one of the user who uninstalls. Other users'
  ; own values stay in their profiles; Windows skips a Run value whose program is gone.
  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
