; Dovra's installer: Dovra.scr into the system folder, Dovra made the current
; screen saver (a choice, on by default), an entry in "Programs and Features",
; and an uninstaller that takes away exactly what Dovra put on the machine.
; Built by scripts/package.sh: makensis -DVERSION=... -DSCR=... -DOUT=...
Unicode true
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma
; No file times in the installer: the same sources give the same bytes
; however old the copies it is built from. Installed files are dated when
; they are installed.
SetDateSave off

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
!define MOVEFILE_REPLACE_EXISTING 0x01
!define MOVEFILE_WRITE_THROUGH 0x08
!define GENERIC_WRITE 0x40000000
!define OPEN_EXISTING 3
!define ERROR_SHARING_VIOLATION 32
!define ERROR_LOCK_VIOLATION 33
!define FILE_ATTRIBUTE_READONLY 0x01
!define FILE_ATTRIBUTE_NORMAL 0x80

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
LangString ReplaceInUse ${LANG_ENGLISH} "Dovra.scr is in use by another program (the screen saver settings may be showing its preview), so it cannot be replaced now.$\r$\n$\r$\nClose the screen saver settings, then choose Retry. Cancel leaves everything as it was."
LangString ReplaceInUse ${LANG_JAPANESE} "Dovra.scr がほかのプログラムで使用中のため（スクリーンセーバーの設定でプレビューが表示されている可能性があります）、置き換えられません。$\r$\n$\r$\nスクリーンセーバーの設定を閉じてから「再試行」を選んでください。「キャンセル」では何も変更しません。"
LangString CannotWrite ${LANG_ENGLISH} "Setup could not write $R9.$\r$\n$\r$\nThe disk may be full, you may not have the rights to write there, or something is in the way: a file or folder of that name, or a program such as a virus scanner holding it.$\r$\n$\r$\nPut that right, then choose Retry. Cancel leaves everything as it was."
LangString CannotWrite ${LANG_JAPANESE} "$R9 に書き込めませんでした。$\r$\n$\r$\nディスクの空き容量が足りない、そこに書き込む権限がない、同じ名前のファイルやフォルダーがある、ウイルス対策ソフトなどのプログラムが使用している、といった原因が考えられます。$\r$\n$\r$\n原因を取り除いてから「再試行」を選んでください。「キャンセル」では何も変更しません。"
LangString CannotRegister ${LANG_ENGLISH} "Dovra.scr is in place, but Setup could not write $R9 in the registry.$\r$\n$\r$\nChoose Retry to try again. With Cancel, Dovra stays installed without it."
LangString CannotRegister ${LANG_JAPANESE} "Dovra.scr は配置されましたが、レジストリの $R9 に書き込めませんでした。$\r$\n$\r$\n「再試行」でもう一度試します。「キャンセル」では、Dovra はそれなしでインストールされたままになります。"
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

; Why a run failed, also for a silent one, which shows no message: the
; message itself, in the system's language, in %TEMP%\Dovra-setup.log.
!macro Explain text
  FileOpen $9 "$TEMP\Dovra-setup.log" w
  FileWriteUTF16LE /BOM $9 "${text}$\r$\n"
  FileClose $9
!macroend

; Puts a new file in place of the old one in one step: where that fails, the
; old one is left as it was. Sets $0 to non-zero where it succeeded.
!macro Replace new old
  System::Call 'kernel32::MoveFileExW(w "${new}", w "${old}", i ${MOVEFILE_REPLACE_EXISTING}|${MOVEFILE_WRITE_THROUGH}) i .r0'
!macroend

; Whether another program holds Dovra.scr open (a preview in the screen-saver
; settings runs it; a virus scanner may be reading it): opening it alone for
; writing is then refused as a sharing violation, where a file that merely
; cannot be written is refused as such. Opening it changes nothing.
; Sets ${result} to 1 or 0.
!macro SaverHeld result
  StrCpy ${result} 0
  System::Call 'kernel32::CreateFileW(w "$SaverDir\Dovra.scr", i ${GENERIC_WRITE}, i 0, p 0, i ${OPEN_EXISTING}, i 0, p 0) p .r9 ?e'
  Pop $8
  ${If} $9 P<> -1
    System::Call 'kernel32::CloseHandle(p r9)'
  ${ElseIf} $8 = ${ERROR_SHARING_VIOLATION}
  ${OrIf} $8 = ${ERROR_LOCK_VIOLATION}
    StrCpy ${result} 1
  ${EndIf}
!macroend

; A registry value that could not be written: said, then retried or given up
; with exit code 3.
!macro CouldNotRegister key retry
  StrCpy $R9 "${key}"
  !insertmacro Explain "$(CannotRegister)"
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(CannotRegister)" /SD IDCANCEL IDRETRY ${retry}
  SetErrorLevel 3
  Abort
!macroend

Section "$(SecSaver)" SecSaverId
  SectionIn RO
  Delete "$TEMP\Dovra-setup.log"
  ; A file that cannot be written gets Dovra's own message, not a generic one.
  SetOverwrite try
  ; Everything new is put down beside what is there first; the uninstaller
  ; takes its place before the saver does, and the saver last, in one step.
  ; So a run that stops part-way (Dovra running, a file that cannot be
  ; written) leaves the machine as it was, and no entry ever names a file
  ; that is not there.
  retry:
    !insertmacro DovraRunning $0
    ${If} $0 == 1
      StrCpy $R8 "$(InUse)"
      Goto inuse
    ${EndIf}
    ; A first install: what it puts down is taken away again if it fails.
    StrCpy $R7 1
    ${If} ${FileExists} "$INSTDIR\uninstall.exe"
      StrCpy $R7 0
    ${EndIf}
    Delete "$SaverDir\Dovra.scr.new"
    ClearErrors
    File "/oname=$SaverDir\Dovra.scr.new" "${SCR}"
    StrCpy $R9 "$SaverDir\Dovra.scr.new"
    IfErrors cannotwrite
    SetOutPath "$INSTDIR"
    File "/oname=readme-en.txt" "${README_EN}"
    File "/oname=readme-ja.txt" "${README_JA}"
    File "/oname=LICENSE.txt" "${LICENSE_TXT}"
    WriteUninstaller "$INSTDIR\uninstall.exe.new"
    StrCpy $R9 "$INSTDIR"
    IfErrors cannotwrite
    !insertmacro Replace "$INSTDIR\uninstall.exe.new" "$INSTDIR\uninstall.exe"
    StrCpy $R9 "$INSTDIR\uninstall.exe"
    StrCmp $0 0 cannotwrite
    ; A read-only Dovra.scr (copied from a CD, say) is replaced all the same;
    ; one that stays keeps its attributes.
    System::Call 'kernel32::GetFileAttributesW(w "$SaverDir\Dovra.scr") i .r1'
    IntOp $2 $1 & ${FILE_ATTRIBUTE_READONLY}
    ${If} $1 <> -1
    ${AndIf} $2 <> 0
      IntOp $2 $1 ^ ${FILE_ATTRIBUTE_READONLY}
      ${IfThen} $2 = 0 ${|} StrCpy $2 ${FILE_ATTRIBUTE_NORMAL} ${|}
      System::Call 'kernel32::SetFileAttributesW(w "$SaverDir\Dovra.scr", i r2)'
    ${EndIf}
    !insertmacro Replace "$SaverDir\Dovra.scr.new" "$SaverDir\Dovra.scr"
    ${If} $0 = 0
    ${AndIf} $1 <> -1
      System::Call 'kernel32::SetFileAttributesW(w "$SaverDir\Dovra.scr", i r1)'
    ${EndIf}
    StrCmp $0 0 0 installed
    StrCpy $R9 "$SaverDir\Dovra.scr"
    !insertmacro SaverHeld $0
    StrCmp $0 1 0 cannotwrite
    StrCpy $R8 "$(ReplaceInUse)"
  inuse:
    StrCpy $R6 2
    Goto failed
  cannotwrite:
    StrCpy $R8 "$(CannotWrite)"
    StrCpy $R6 3
  failed:
    ; Taken away before the question, so that a retry starts from the
    ; machine as it was.
    Delete "$SaverDir\Dovra.scr.new"
    Delete "$INSTDIR\uninstall.exe.new"
    ${If} $R7 == 1
      Delete "$INSTDIR\readme-en.txt"
      Delete "$INSTDIR\readme-ja.txt"
      Delete "$INSTDIR\LICENSE.txt"
      Delete "$INSTDIR\uninstall.exe"
      ; Not the folder in use as the output folder, which cannot be removed.
      SetDetailsPrint none
      SetOutPath "$TEMP"
      SetDetailsPrint lastused
      RMDir "$INSTDIR"
    ${EndIf}
    !insertmacro Explain "$R8"
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$R8" /SD IDCANCEL IDRETRY retry
    SetErrorLevel $R6
    Abort "$(NotInstalled)"
  installed:

  ; The saver's own size only: never a walk through the system folder.
  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  ${GetSize} "$SaverDir" "/M=Dovra.scr /S=0K /G=0" $4 $2 $3
  IntOp $1 $1 + $4
  ; Its name last: a first entry cut short is never listed.
  regretry:
    ClearErrors
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SaverDir\Dovra.scr,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Dovra developers"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    ${If} ${Errors}
      !insertmacro CouldNotRegister "HKEY_LOCAL_MACHINE\${UNINSTALL_KEY}" regretry
    ${EndIf}
SectionEnd

Section "$(SecCurrent)" SecCurrentId
  ; The screen-saver host wants the path in its short form. Set through the
  ; system, so that it takes effect at once.
  regretry:
    ClearErrors
    GetFullPathName /SHORT $0 "$SaverDir\Dovra.scr"
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$0"
    ${If} ${Errors}
      !insertmacro CouldNotRegister "HKEY_CURRENT_USER\${DESKTOP_KEY}\SCRNSAVE.EXE" regretry
    ${EndIf}
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

; A log of a failure is not left behind by a later run that succeeds.
Function .onInstSuccess
  Delete "$TEMP\Dovra-setup.log"
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
  ; What a save cut short (the power gone between writing it and putting it
  ; in the settings' place) leaves beside them.
  !insertmacro RemoveBesideSaver "VormixDovra.ini.new"
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
