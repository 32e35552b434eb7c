; The Windows installer of Quorvath Itemlist, made by tools/windows.sh:
;   makensis -DVERSION=<project version> -DBUILD=<build-windows> -DSOURCE=<checkout> installer.nsi
; Installs for every user of the machine into Program Files (or where the
; last install went), puts a shortcut into the Start menu and registers the
; uninstaller under "Apps and features". /S installs and uninstalls silently.
; Neither reports success for work it did not do: setup does not copy over
; a running program, and stops with an exit code other than 0 when a file
; cannot be written; the uninstaller keeps its entry until the program's
; files are gone. Exit codes: 0 done, 1 cancelled by the user, 2 stopped.
; A 64-bit installer for the 64-bit program: it needs no 32-bit subsystem,
; and 32-bit Windows refuses it before it starts, as it would the program.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include FileFunc.nsh
!include LogicLib.nsh
!include WinVer.nsh

!define PRODUCT "Quorvath Itemlist"
!define PUBLISHER "Emberlight Hollow Software"
!define EXE "QuorvathItemlist.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QuorvathItemlist"

Name "${PRODUCT} ${VERSION}"
OutFile "${BUILD}\quorvath-itemlist-${VERSION}-setup.exe"
Icon "${SOURCE}\assets\quorvath.ico"
UninstallIcon "${SOURCE}\assets\quorvath.ico"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; An update goes where the installed program is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show

; Windows numbers a version in four parts: major.minor.patch is
; major.minor.0.patch, as in the program's own version resource.
!searchparse /noerrors "${VERSION}" "" V_MAJOR "." V_MINOR "." V_PATCH
!ifndef V_PATCH
!error "VERSION must be major.minor.patch, not '${VERSION}'"
!endif
VIProductVersion "${V_MAJOR}.${V_MINOR}.0.${V_PATCH}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "Installs ${PRODUCT} ${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

!define RUNNING_TEXT "${PRODUCT} is running, or its program file is in use:$\r$\n$INSTDIR\${EXE}$\r$\n$\r$\nClose ${PRODUCT}, then choose Retry."

; Stops with exit code 2 after telling why (silently: only the exit code).
; Quit rather than Abort: after an Abort the last page's caption would still
; say "Completed".
!macro Fail TEXT
    MessageBox MB_OK|MB_ICONSTOP "${TEXT}" /SD IDOK
    SetErrorLevel 2
    Quit
!macroend

; Waits until the installed program is not running: a running program's
; file cannot be opened for writing. Asks to close it, with Retry and
; Cancel; Cancel, and a silent run, stop with exit code 1 or 2.
!macro WaitUntilClosed UN
Function ${UN}WaitUntilClosed
    retry:
    ${IfNot} ${FileExists} "$INSTDIR\${EXE}"
        Return
    ${EndIf}
    ClearErrors
    FileOpen $0 "$INSTDIR\${EXE}" a
    ${IfNot} ${Errors}
        FileClose $0
        Return
    ${EndIf}
    ${If} ${Silent}
        !insertmacro Fail "${PRODUCT} is running: $INSTDIR\${EXE}"
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${RUNNING_TEXT}" IDRETRY retry
    SetErrorLevel 1
    Quit
FunctionEnd
!macroend
!insertmacro WaitUntilClosed ""
!insertmacro WaitUntilClosed "un."

Function .onInit
    SetRegView 64
    SetShellVarContext all
    ; What Qt 6, and so the program, runs on.
    ${IfNot} ${AtLeastWin10}
        MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} needs Windows 10 or later (64-bit)." /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "Install"
    Call WaitUntilClosed
    ; Whether this is a first install, which takes back what it wrote if it
    ; fails; an update leaves the entry of the program it updates.
    ReadRegStr $R0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    SetOutPath "$INSTDIR"
    ; A file that cannot be written is this script's to report, with the
    ; program's state: not NSIS's Abort, Retry, Ignore.
    SetOverwrite try
    ClearErrors
    File "${BUILD}\${EXE}"
    File "${BUILD}\README.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ${If} ${Errors}
        ${If} $R0 == ""
            Delete "$INSTDIR\${EXE}"
            Delete "$INSTDIR\README.txt"
            Delete "$INSTDIR\uninstall.exe"
            RMDir "$INSTDIR"
        ${EndIf}
        !insertmacro Fail "Setup could not write the program's files into $INSTDIR. ${PRODUCT} is not installed completely."
    ${EndIf}
    CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

    ; The folder's size in KB, the uninstaller included.
    ${GetSize} "$INSTDIR" "/M=*.* /S=0K /G=0" $0 $1 $2
    ClearErrors
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
    ${If} ${Errors}
        !insertmacro Fail "Setup could not register ${PRODUCT} under Apps and features."
    ${EndIf}
SectionEnd

Section "Uninstall"
    Call un.WaitUntilClosed
    ; The entry and the shortcut stay until the program's files are gone.
    ClearErrors
    Delete "$INSTDIR\${EXE}"
    Delete "$INSTDIR\README.txt"
    ${If} ${Errors}
        !insertmacro Fail "The uninstaller could not remove the program's files from $INSTDIR."
    ${EndIf}
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
