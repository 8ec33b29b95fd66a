; The Tarnel installer. Installs for the current user only (under the user's local programs
; folder, no administrator rights: close.dat beside the program must stay writable), the 64-bit
; program on 64-bit Windows and the 32-bit one elsewhere, with a Start-menu shortcut and an
; uninstaller listed among the user's installed programs. The user's list (close.dat) survives
; upgrades, and the uninstaller unless the user ticks its removal (or passes /PURGE). /S
; installs and uninstalls silently.
;   makensis -INPUTCHARSET UTF8 -DVERSION=x.y.z -DEXE32=<32-bit tarnel.exe>
;            -DEXE64=<64-bit tarnel.exe> -DREADME=<readme.txt> -DICON=<tarnel.ico>
;            -DOUTFILE=<setup.exe> tarnel.nsi
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestSupportedOS all

!include MUI2.nsh
!include LogicLib.nsh
!include Sections.nsh
!include x64.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnel"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "popreap"
!define MAIN_WINDOW_CLASS "TForm_main"

Name "Tarnel ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tarnel"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Tarnel ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "Tarnel"
VIAddVersionKey /LANG=2052 "FileDescription" "Tarnel 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "Copyright © 2026 Tarnel 开发者"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\tarnel.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

; Asks every running Tarnel to close (after the user agrees; silently it just does) and waits
; until its program file can be written, so that it can be replaced or removed. Gives up on
; the wait after about 5 s; the file step that follows then reports the file.
!macro CloseRunningTarnel prefix
Function ${prefix}CloseRunningTarnel
  FindWindow $0 "${MAIN_WINDOW_CLASS}"
  ${If} $0 = 0
    Return
  ${EndIf}
  MessageBox MB_OKCANCEL|MB_ICONINFORMATION "Tarnel 正在运行。按“确定”关闭它并继续。" /SD IDOK IDOK close
  Abort
close:
  StrCpy $1 0
  ${Do}
    FindWindow $0 "${MAIN_WINDOW_CLASS}"
    ${If} $0 = 0
      ClearErrors
      FileOpen $2 "$INSTDIR\tarnel.exe" a
      ${IfNot} ${Errors}
        FileClose $2
        ${ExitDo}
      ${EndIf}
      ${IfNot} ${FileExists} "$INSTDIR\tarnel.exe"
        ${ExitDo}
      ${EndIf}
    ${Else}
      SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=2000
    ${EndIf}
    Sleep 100
    IntOp $1 $1 + 1
  ${LoopUntil} $1 >= 50
FunctionEnd
!macroend
!insertmacro CloseRunningTarnel ""
!insertmacro CloseRunningTarnel "un."

Section "Tarnel" SectionProgram
  SectionIn RO
  SetShellVarContext current
  Call CloseRunningTarnel
  SetOutPath "$INSTDIR"
  ${If} ${RunningX64}
    File "/oname=tarnel.exe" "${EXE64}"
  ${Else}
    File "/oname=tarnel.exe" "${EXE32}"
  ${EndIf}
  File "/oname=readme.txt" "${README}"
  ; The user's list stays as it is; a first install starts with an empty one.
  ${IfNot} ${FileExists} "$INSTDIR\close.dat"
    FileOpen $0 "$INSTDIR\close.dat" w
    FileClose $0
  ${EndIf}
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Tarnel.lnk" "$INSTDIR\tarnel.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tarnel"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Tarnel"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tarnel.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "un.Tarnel" SectionUninstallProgram
  SectionIn RO
  SetShellVarContext current
  Call un.CloseRunningTarnel
  Delete "$INSTDIR\tarnel.exe"
  Delete "$INSTDIR\readme.txt"
  Delete "$INSTDIR\close.dat.new"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\Tarnel.lnk"
  ; Start at logon of this copy goes with it; a value naming another copy stays.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == "$INSTDIR\tarnel.exe"
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  RMDir "$INSTDIR" ; only when empty: a kept list keeps its folder
SectionEnd

Section /o "un.删除监视列表 (close.dat)" SectionUninstallList
  Delete "$INSTDIR\close.dat"
  RMDir "$INSTDIR"
SectionEnd

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/PURGE" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SectionUninstallList}
  ${EndIf}
FunctionEnd
