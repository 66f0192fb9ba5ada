; Dovra's installer: Dovra.scr into the system folder, Dovra made the current
; screen saver (a choice, on by default), an entry in "Programs and Features",
; and an uninstaller that takes away exactly what Dovra put on the machine.
; Built by scripts/package.sh: makensis -DVERSION=... -DSCR=... -DOUT=...
Unicode true
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!ifndef VERSION
  !error "VERSION not defined"
!endif

!define PRODUCT "Dovra (ScreenSaver)"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Dovra"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SPI_GETSCREENSAVEACTIVE 0x0010
!define SPI_SETSCREENSAVEACTIVE 0x0011
!define SPIF_UPDATEINIFILE 0x01
!define SPIF_SENDCHANGE 0x02

Name "${PRODUCT}"
OutFile "${OUT}"
; The saver itself lives in the system folder for 32-bit programs ($SaverDir);
; the uninstaller and the read-mes here.
InstallDir "$PROGRAMFILES\Dovra"

; The folder Dovra.scr goes into, named as 64-bit programs name it: the logon
; process that starts screen savers and the screen-saver settings page are
; 64-bit on 64-bit Windows, and for them the 32-bit programs' system folder is
; SysWOW64 (a 32-bit installer's $SYSDIR reads "System32" but lands there, so
; a path built from it names nothing for them). On 32-bit Windows, $SYSDIR.
; Every path of the saver's, and every comparison with one, is made from it.
Var SaverDir
!macro FindSaverDir
  System::Call 'kernel32::GetSystemWow64DirectoryW(w .r9, i ${NSIS_MAX_STRLEN}) i .r8'
  ${If} $8 > 0
  ${AndIf} $8 < ${NSIS_MAX_STRLEN}
    StrCpy $SaverDir $9
  ${Else}
    StrCpy $SaverDir $SYSDIR
  ${EndIf}
!macroend
BrandingText "Dovra ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "FileDescription" "Dovra ${VERSION} setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (c) 2026 The Dovra developers. MIT License."

!define MUI_ICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${SIDE}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(OpenSettings)"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenScreenSaverSettings

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE_FILE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The system's language chooses between these two; any other gets English.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString SecSaver ${LANG_ENGLISH} "Dovra screen saver"
LangString SecSaver ${LANG_JAPANESE} "Dovra スクリーンセーバー"
LangString SecCurrent ${LANG_ENGLISH} "Make Dovra the current screen saver"
LangString SecCurrent ${LANG_JAPANESE} "Dovra を現在のスクリーンセーバーにする"
LangString OpenSettings ${LANG_ENGLISH} "Open the screen saver settings"
LangString OpenSettings ${LANG_JAPANESE} "スクリーンセーバーの設定を開く"
LangString SettingsShortcut ${LANG_ENGLISH} "Screen saver settings"
LangString SettingsShortcut ${LANG_JAPANESE} "スクリーンセーバーの設定"
LangString InUse ${LANG_ENGLISH} "Dovra is running (its screen saver or its settings), so it cannot be replaced now.$\r$\n$\r$\nClose it, then choose Retry. Cancel leaves everything as it was."
LangString InUse ${LANG_JAPANESE} "Dovra（スクリーンセーバーまたはその設定）が実行中のため、置き換えられません。$\r$\n$\r$\nDovra を終了してから「再試行」を選んでください。「キャンセル」では何も変更しません。"
LangString SaverInUse ${LANG_ENGLISH} "Dovra.scr is in use (the screen saver settings may be showing its preview), so it cannot be removed now.$\r$\n$\r$\nClose the screen saver settings, then choose Retry. Cancel leaves Dovra installed."
LangString SaverInUse ${LANG_JAPANESE} "Dovra.scr が使用中のため（スクリーンセーバーの設定でプレビューが表示されている可能性があります）、削除できません。$\r$\n$\r$\nスクリーンセーバーの設定を閉じてから「再試行」を選んでください。「キャンセル」では Dovra はそのまま残ります。"
LangString NotInstalled ${LANG_ENGLISH} "Setup was cancelled; nothing was changed."
LangString NotInstalled ${LANG_JAPANESE} "セットアップは中止されました。何も変更されていません。"

; Whether a Dovra window is open: the saver or its settings dialog, found by
; the captions Dovra itself looks for before it starts.
!macro DovraRunning result
  StrCpy ${result} 0
  System::Call 'user32::FindWindowW(p 0, w "Vormix_Main") p .r9'
  ${If} $9 P<> 0
    StrCpy ${result} 1
  ${EndIf}
  System::Call 'user32::FindWindowW(p 0, w "Vormix_Dovraの設定") p .r9'
  ${If} $9 P<> 0
    StrCpy ${result} 1
  ${EndIf}
!macroend

Section "$(SecSaver)" SecSaverId
  SectionIn RO
  ; The new file goes in beside the old one first; only when the old one can be
  ; let go is it put in its place, so a Dovra that is running never leaves a
  ; half-installed state behind.
  retry:
    !insertmacro DovraRunning $0
    ${If} $0 == 1
      Goto inuse
    ${EndIf}
    ClearErrors
    SetOverwrite on
    File "/oname=$SaverDir\Dovra.scr.new" "${SCR}"
    ${If} ${Errors}
      Goto inuse
    ${EndIf}
    ClearErrors
    Delete "$SaverDir\Dovra.scr"
    ${If} ${FileExists} "$SaverDir\Dovra.scr"
      Goto inuse
    ${EndIf}
    Rename "$SaverDir\Dovra.scr.new" "$SaverDir\Dovra.scr"
    ${If} ${Errors}
      Goto inuse
    ${EndIf}
    Goto installed
  inuse:
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(InUse)" /SD IDCANCEL IDRETRY retry
    Delete "$SaverDir\Dovra.scr.new"
    SetErrorLevel 2
    Abort "$(NotInstalled)"
  installed:

  SetOutPath "$INSTDIR"
  File "/oname=readme-en.txt" "${README_EN}"
  File "/oname=readme-ja.txt" "${README_JA}"
  File "/oname=LICENSE.txt" "${LICENSE_TXT}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The saver's own size only: never a walk through the system folder.
  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  ${GetSize} "$SaverDir" "/M=Dovra.scr /S=0K /G=0" $4 $2 $3
  IntOp $1 $1 + $4
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Dovra developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SaverDir\Dovra.scr,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "$(SecCurrent)" SecCurrentId
  ; The screen-saver host wants the path in its short form. Set through the
  ; system, so that it takes effect at once.
  GetFullPathName /SHORT $0 "$SaverDir\Dovra.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$0"
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATEINIFILE}|${SPIF_SENDCHANGE}) i .r0'
SectionEnd

; The finish page's choice: the screen-saver settings page, where the user
; sees Dovra and its preview and may pick it; opening it changes nothing. It is
; opened by the desktop's own Explorer, through a shortcut beside the
; uninstaller, so that it runs as the user who is signed in and not with the
; installer's administrator rights (where no Explorer runs, it opens all the
; same, with them).
Function OpenScreenSaverSettings
  CreateShortCut "$INSTDIR\$(SettingsShortcut).lnk" "$SYSDIR\control.exe" "desk.cpl,,@screensaver"
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\$(SettingsShortcut).lnk"'
FunctionEnd

Function .onInit
  !insertmacro FindSaverDir
  ; Japanese on a Japanese system, English everywhere else.
  System::Call 'kernel32::GetUserDefaultUILanguage() i .r0'
  IntOp $0 $0 & 0x3FF
  ${If} $0 = 0x11
    StrCpy $LANGUAGE ${LANG_JAPANESE}
  ${Else}
    StrCpy $LANGUAGE ${LANG_ENGLISH}
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro FindSaverDir
  System::Call 'kernel32::GetUserDefaultUILanguage() i .r0'
  IntOp $0 $0 & 0x3FF
  ${If} $0 = 0x11
    StrCpy $LANGUAGE ${LANG_JAPANESE}
  ${Else}
    StrCpy $LANGUAGE ${LANG_ENGLISH}
  ${EndIf}
FunctionEnd

; Removes one of the files Dovra writes beside itself, also where Windows keeps
; them for a program without administrator rights: the user's virtual store.
!macro RemoveBesideSaver name
  Delete "$SaverDir\${name}"
  Delete "$LOCALAPPDATA\VirtualStore\Windows\System32\${name}"
  Delete "$LOCALAPPDATA\VirtualStore\Windows\SysWOW64\${name}"
!macroend

; Whether the path in $0 names Dovra.scr in the saver's folder in any of the
; forms it may be written in: long or short, SysWOW64 or System32 (as a
; 32-bit program names the same folder), in any case. Sets $1 to 1 or 0.
Function un.NamesDovra
  StrCpy $1 0
  ${GetFileName} $0 $2
  ${GetParent} $0 $3
  ${IfThen} $2 != "Dovra.scr" ${|} Return ${|}
  GetFullPathName /SHORT $3 $3
  ${IfThen} $3 == "" ${|} Return ${|}
  ${ForEach} $4 0 2 + 1
    ${Select} $4
      ${Case} 0
        StrCpy $5 "$SaverDir"
      ${Case} 1
        StrCpy $5 "$WINDIR\System32"
      ${Case} 2
        StrCpy $5 "$WINDIR\SysWOW64"
    ${EndSelect}
    GetFullPathName /SHORT $6 $5
    ${If} $6 != ""
    ${AndIf} $3 == $6
      StrCpy $1 1
    ${EndIf}
  ${Next}
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  ; Nothing is taken away until Dovra.scr itself is gone: while Dovra runs
  ; (its saver, its settings, or a preview in the screen-saver settings) it
  ; cannot be deleted, and the user may close it and retry or leave it all.
  retry:
    !insertmacro DovraRunning $0
    ${If} $0 == 1
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(InUse)" /SD IDCANCEL IDRETRY retry
      SetErrorLevel 2
      Abort
    ${EndIf}
    ClearErrors
    Delete "$SaverDir\Dovra.scr"
    ${If} ${FileExists} "$SaverDir\Dovra.scr"
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(SaverInUse)" /SD IDCANCEL IDRETRY retry
      SetErrorLevel 2
      Abort
    ${EndIf}
  ; The current screen saver is let go only where it is Dovra, and the system
  ; is told at once.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  Call un.NamesDovra
  ${If} $1 == 1
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    System::Call 'user32::SystemParametersInfoW(i ${SPI_GETSCREENSAVEACTIVE}, i 0, *i .r2, i 0) i .r0'
    System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i r2, p 0, i ${SPIF_SENDCHANGE}) i .r0'
  ${EndIf}
  !insertmacro RemoveBesideSaver "VormixDovra.ini"
  !insertmacro RemoveBesideSaver "Vormix1.bmp"
  !insertmacro RemoveBesideSaver "Vormix2.bmp"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\readme-en.txt"
  Delete "$INSTDIR\readme-ja.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\Screen saver settings.lnk"
  Delete "$INSTDIR\スクリーンセーバーの設定.lnk"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
