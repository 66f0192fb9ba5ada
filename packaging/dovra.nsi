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

Name "${PRODUCT}"
OutFile "${OUT}"
; The saver itself lives in the system folder (a 32-bit installer's $SYSDIR,
; which is SysWOW64 on 64-bit Windows); the uninstaller and the read-mes here.
InstallDir "$PROGRAMFILES\Dovra"
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
LangString InUse ${LANG_ENGLISH} "Dovra is running (its screen saver or its settings), so it cannot be replaced now.$\r$\n$\r$\nClose it, then choose Retry. Cancel leaves everything as it was."
LangString InUse ${LANG_JAPANESE} "Dovra（スクリーンセーバーまたはその設定）が実行中のため、置き換えられません。$\r$\n$\r$\nDovra を終了してから「再試行」を選んでください。「キャンセル」では何も変更しません。"
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
    File "/oname=$SYSDIR\Dovra.scr.new" "${SCR}"
    ${If} ${Errors}
      Goto inuse
    ${EndIf}
    ClearErrors
    Delete "$SYSDIR\Dovra.scr"
    ${If} ${FileExists} "$SYSDIR\Dovra.scr"
      Goto inuse
    ${EndIf}
    Rename "$SYSDIR\Dovra.scr.new" "$SYSDIR\Dovra.scr"
    ${If} ${Errors}
      Goto inuse
    ${EndIf}
    Goto installed
  inuse:
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(InUse)" /SD IDCANCEL IDRETRY retry
    Delete "$SYSDIR\Dovra.scr.new"
    SetErrorLevel 2
    Abort "$(NotInstalled)"
  installed:

  SetOutPath "$INSTDIR"
  File "/oname=readme-en.txt" "${README_EN}"
  File "/oname=readme-ja.txt" "${README_JA}"
  File "/oname=LICENSE.txt" "${LICENSE_TXT}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  ${GetSize} "$SYSDIR" "/M=Dovra.scr /S=0K" $4 $2 $3
  IntOp $1 $1 + $4
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Dovra developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\Dovra.scr,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "$(SecCurrent)" SecCurrentId
  ; The screen-saver host wants the path in its short form.
  GetFullPathName /SHORT $0 "$SYSDIR\Dovra.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$0"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
SectionEnd

Function OpenScreenSaverSettings
  GetFullPathName /SHORT $0 "$SYSDIR\Dovra.scr"
  Exec '"$SYSDIR\rundll32.exe" desk.cpl,InstallScreenSaver $0'
FunctionEnd

Function .onInit
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
  Delete "$SYSDIR\${name}"
  Delete "$LOCALAPPDATA\VirtualStore\Windows\System32\${name}"
  Delete "$LOCALAPPDATA\VirtualStore\Windows\SysWOW64\${name}"
!macroend

Section "Uninstall"
  SetShellVarContext current
  retry:
    !insertmacro DovraRunning $0
    ${If} $0 == 1
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(InUse)" /SD IDCANCEL IDRETRY retry
      SetErrorLevel 2
      Abort
    ${EndIf}
  ; The current screen saver is let go only where it is Dovra (its short name
  ; is found while the file is still there).
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  GetFullPathName /SHORT $1 "$SYSDIR\Dovra.scr"
  ${If} $0 != ""
  ${AndIf} $0 == $1
  ${OrIf} $0 == "$SYSDIR\Dovra.scr"
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${EndIf}
  Delete "$SYSDIR\Dovra.scr"
  !insertmacro RemoveBesideSaver "VormixDovra.ini"
  !insertmacro RemoveBesideSaver "Vormix1.bmp"
  !insertmacro RemoveBesideSaver "Vormix2.bmp"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\readme-en.txt"
  Delete "$INSTDIR\readme-ja.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
