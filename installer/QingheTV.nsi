; The Windows installer of 青禾网络电视, made by scripts/package.sh:
;   makensis -DVERSION=2.0.0.1 -DSTAGE=<folder with the two programs>
;            -DICON=<program icon> -DOUTFILE=<setup.exe> QingheTV.nsi
; Per machine into Program Files\QingheTV (/D= honoured), silent with /S.
Unicode true
; A 64-bit installer for the 64-bit program (and the test bed runs 64-bit only).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
; -DCODESIGN=<command signing a file in place>: the uninstaller is signed as
; it is written into the installer.
!ifdef CODESIGN
!uninstfinalize '"${CODESIGN}" "%1"' = 0
!endif

!include "MUI2.nsh"
!include "x64.nsh"
!include "FileFunc.nsh"

!define PRODUCT "青禾网络电视"
!define PUBLISHER "Qinghe Network TV"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QingheTV"
!define MAIN_CLASS "TKivoMainForm"
; The system's browser control renders a program's pages in its current
; standards mode (11001) only when the program is listed here; otherwise in
; its oldest compatibility mode, which breaks today's portal pages.
!define BROWSER_MODE_KEY "Software\Microsoft\Internet Explorer\Main\FeatureControl\FEATURE_BROWSER_EMULATION"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\QingheTV"
Icon "${ICON}"
UninstallIcon "${ICON}"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\QingheTV.exe"
!define MUI_FINISHPAGE_RUN_TEXT "运行${PRODUCT}"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

; A running copy must end first: replacing its files half-way would leave
; a broken program. Silent runs wait up to 30 seconds, then fail with 2.
!macro WaitForRunningCopy un
Function ${un}WaitForRunningCopy
    StrCpy $1 0
    loop:
        FindWindow $0 "${MAIN_CLASS}" ""
        StrCmp $0 0 done
        IfSilent 0 ask
        IntOp $1 $1 + 1
        IntCmp $1 60 give_up
        Sleep 500
        Goto loop
    ask:
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT}正在运行。请先退出它（托盘图标菜单中的“退出”），再点“重试”。" IDRETRY loop
    give_up:
        SetErrorLevel 2
        Quit
    done:
FunctionEnd
!macroend
!insertmacro WaitForRunningCopy ""
!insertmacro WaitForRunningCopy "un."

Function .onInit
    SetShellVarContext all
    SetRegView 64
FunctionEnd

Section "!${PRODUCT}" SecProgram
    SectionIn RO
    Call WaitForRunningCopy
    SetOutPath "$INSTDIR"
    File "${STAGE}\QingheTV.exe"
    File "${STAGE}\Update.exe"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\QingheTV.exe" "" "$INSTDIR\QingheTV.exe" 0
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\QingheTV.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
    WriteRegDWORD HKLM "${BROWSER_MODE_KEY}" "QingheTV.exe" 11001
SectionEnd

Section "桌面快捷方式" SecDesktop
    CreateShortCut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\QingheTV.exe" "" "$INSTDIR\QingheTV.exe" 0
SectionEnd

LangString DESC_Program ${LANG_SIMPCHINESE} "${PRODUCT}程序和它的更新程序。"
LangString DESC_Desktop ${LANG_SIMPCHINESE} "在桌面上放一个${PRODUCT}的快捷方式。"
!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} $(DESC_Program)
    !insertmacro MUI_DESCRIPTION_TEXT ${SecDesktop} $(DESC_Desktop)
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function un.onInit
    SetShellVarContext all
    SetRegView 64
FunctionEnd

; Only what the installer made goes.
Section "Uninstall"
    Call un.WaitForRunningCopy
    Delete "$INSTDIR\QingheTV.exe"
    Delete "$INSTDIR\Update.exe"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    Delete "$DESKTOP\${PRODUCT}.lnk"
    ; The key is the system's: only our value goes.
    DeleteRegValue HKLM "${BROWSER_MODE_KEY}" "QingheTV.exe"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
