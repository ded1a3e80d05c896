; The Windows installer of Drovane, built on Linux with NSIS (makensis). It installs the program
; under Program Files, or in a folder chosen that it makes changeable by administrators only, with
; its own page, a Start-menu shortcut and an uninstaller listed in the installed programs, and
; prepares the settings key (the program does that part itself, run with --install-settings).
; Defined on the command line: EXE, PAGE_DIR, ICON, VERSION, LICENSE, HOMEPAGE, BUGS, OUTFILE, and
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
VIAddVersionKey "LegalCopyright" "Copyright © 2026 The Drovane developers. MIT licence"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckInstallFolder
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
LangString FOLDER_NOT_OWN ${LANG_ENGLISH} "$INSTDIR already holds other files. Only administrators may change Drovane's folder, and making it so would change those files' rights too: choose a new or empty folder."
LangString FOLDER_NOT_OWN ${LANG_KOREAN} "$INSTDIR 폴더에 이미 다른 파일이 있습니다. Drovane의 폴더는 관리자만 변경할 수 있게 하므로 그 파일들의 권한도 바뀝니다. 새 폴더나 빈 폴더를 선택하십시오."
LangString FOLDER_NOT_SECURED ${LANG_ENGLISH} "The rights of $INSTDIR could not be set so that only administrators may change it: nothing was installed. Choose another folder."
LangString FOLDER_NOT_SECURED ${LANG_KOREAN} "$INSTDIR 폴더를 관리자만 변경할 수 있도록 권한을 설정하지 못해 아무것도 설치하지 않았습니다. 다른 폴더를 선택하십시오."
LangString REMOVED_AT_RESTART ${LANG_ENGLISH} "Some of Drovane's files are in use, by a copy in another user's session perhaps: Windows removes them when it restarts."
LangString REMOVED_AT_RESTART ${LANG_KOREAN} "Drovane의 일부 파일이 사용 중입니다(다른 사용자 세션에서 실행 중인 Drovane 등). 이 파일은 Windows를 다시 시작할 때 삭제됩니다."

Function StartAsDesktopUser
  ExecWait '"$INSTDIR\drovane.exe" --start-as-desktop-user' $0
  ${If} $0 != 0
    MessageBox MB_OK|MB_ICONINFORMATION "$(NOT_STARTED)"
  ${EndIf}
FunctionEnd

; The folder must be new, empty or an earlier Drovane's: the rights set on it below would change
; those of another program's files, or of a system folder.
Function CheckInstallFolder
  ${DirState} "$INSTDIR" $0
  ${If} $0 == 1
  ${AndIfNot} ${FileExists} "$INSTDIR\uninstall.exe"
    MessageBox MB_OK|MB_ICONSTOP "$(FOLDER_NOT_OWN)" /SD IDOK
    Abort
  ${EndIf}
FunctionEnd

; The folder as Program Files is: the system and administrators may change it, users may read and
; run it. The machine's Run value starts drovane.exe in every session, administrators' too, so in
; a folder that users may write (one under C:\, say) any user could have it run anything. Set
; before any file is written, so that each inherits it; what was there before gets administrators
; as its owner and loses whatever its creator granted. The groups go by their well-known
; identifiers (SYSTEM, Administrators, Users), as their names differ with the language.
!define ICACLS '"$SYSDIR\icacls.exe" "$INSTDIR"'
Function MakeFolderAdminOnly
  CreateDirectory "$INSTDIR"
  nsExec::ExecToLog '${ICACLS} /setowner *S-1-5-32-544 /T /L /Q'
  Pop $0
  ${If} $0 == 0
    nsExec::ExecToLog '${ICACLS} /reset /T /L /Q'
    Pop $0
  ${EndIf}
  ${If} $0 == 0
    nsExec::ExecToLog '${ICACLS} /inheritance:r /grant:r *S-1-5-18:(OI)(CI)F *S-1-5-32-544:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX /L /Q'
    Pop $0
  ${EndIf}
  ${If} $0 != 0
    RMDir "$INSTDIR"
    MessageBox MB_OK|MB_ICONSTOP "$(FOLDER_NOT_SECURED)" /SD IDOK
    Abort
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
  Call CheckInstallFolder
  Call MakeFolderAdminOnly
  SetOutPath "$INSTDIR"
  File "${EXE}"
  File "/oname=LICENSE.txt" "${LICENSE}"
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
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${HOMEPAGE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "HelpLink" "${BUGS}"
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
  ; A copy in another user's session cannot be ended from here: what it holds goes at restart.
  Delete /REBOOTOK "$INSTDIR\drovane.exe"
  Delete /REBOOTOK "$INSTDIR\LICENSE.txt"
  Delete /REBOOTOK "$INSTDIR\page\index.html"
  Delete /REBOOTOK "$INSTDIR\page\banner.gif"
  RMDir /REBOOTOK "$INSTDIR\page"
  Delete /REBOOTOK "$INSTDIR\uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"
  Delete "$SMPROGRAMS\Drovane.lnk"

  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "${MAKER_KEY}"
  ; Start at logon: the machine's value, and the one of the user who uninstalls. Other users'
  ; own values stay in their profiles; Windows skips a Run value whose program is gone.
  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${If} ${RebootFlag}
    MessageBox MB_OK|MB_ICONINFORMATION "$(REMOVED_AT_RESTART)" /SD IDOK
  ${EndIf}
SectionEnd
