; Zelvor's installer. makensis gets VERSION, STAGE (the folder holding Zelvor.exe, Zelvor.hlp, the HTML
; manual in Help, README.txt, zelvor.ico and HelpFiles.nsh, which names the manual's files) and OUTFILE on
; its command line.
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include FileFunc.nsh
!include MUI2.nsh
!include "${STAGE}\HelpFiles.nsh"

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelvor"

Name "Zelvor ${VERSION}"
Caption "Zelvor ${VERSION} Setup"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Zelvor"
; A reinstall goes where the installed copy is, unless /D= says otherwise.
InstallDirRegKey HKLM "${UNINST_KEY}" "InstallLocation"
; A file that cannot be written (a running Zelvor.exe) fails the install instead of leaving the old one.
AllowSkipFiles off
!define MUI_ICON "${STAGE}\zelvor.ico"
!define MUI_UNICON "${STAGE}\zelvor.ico"
ShowInstDetails show
ShowUninstDetails show
BrandingText "Zelvor ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "Zelvor"
VIAddVersionKey /LANG=1033 "CompanyName" "Kestrune"
VIAddVersionKey /LANG=1033 "FileDescription" "Zelvor Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 Kestrune"

; A run that stops early says so in its header ("Installation Aborted"), never "Completed"; the last page
; offers to start Zelvor (a silent run shows no page and starts nothing).
!define MUI_PAGE_CUSTOMFUNCTION_SHOW ShowFolderAsWritten
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE RefuseWhileRunning
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Zelvor.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The page shows the folder of the uninstall entry with a closing backslash of its own: shown as written.
Function ShowFolderAsWritten
    Call TrimFolder
    FindWindow $0 "#32770" "" $HWNDPARENT
    GetDlgItem $0 $0 1019
    SendMessage $0 ${WM_SETTEXT} 0 "STR:$INSTDIR"
FunctionEnd

; A running Zelvor.exe cannot be replaced or removed: it is named before anything is written, and the user
; closes it and retries, or cancels (a silent run cancels). Its file is open for writing only while it is
; not running, so trying that finds it whatever started it.
!macro RefuseWhileRunning un
Function ${un}RefuseWhileRunning
retry:
    IfFileExists "$INSTDIR\Zelvor.exe" 0 free
    ClearErrors
    FileOpen $0 "$INSTDIR\Zelvor.exe" a
    IfErrors running
    FileClose $0
    Goto free
running:
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Zelvor is running. Close it and click Retry." /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Abort
free:
FunctionEnd
!macroend
!insertmacro RefuseWhileRunning ""
!insertmacro RefuseWhileRunning "un."

; Program Files, the uninstall entry and every user's Start menu need an administrator (on XP no prompt
; raises the rights, so say it and stop). A folder comes without a closing backslash, whether given with
; /D=, proposed from the uninstall entry or the default.
!macro TrimFolder un
Function ${un}TrimFolder
trim:
    StrCpy $0 $INSTDIR 1 -1
    StrCmp $0 "\" 0 trimmed
    StrCpy $0 $INSTDIR 3
    StrCmp $0 $INSTDIR trimmed ; "C:\" keeps it
    StrCpy $INSTDIR $INSTDIR -1
    Goto trim
trimmed:
FunctionEnd
!macroend
!insertmacro TrimFolder ""
!insertmacro TrimFolder "un."

!macro StartChecks init trimFolder refuseWhileRunning
Function ${init}
    UserInfo::GetAccountType
    Pop $0
    StrCmp $0 "Admin" admin
        MessageBox MB_ICONSTOP "Administrator rights are needed for this." /SD IDOK
        SetErrorLevel 740
        Quit
admin:
    SetShellVarContext all
    Call ${trimFolder}
    Call ${refuseWhileRunning}
FunctionEnd
!macroend
!insertmacro StartChecks .onInit TrimFolder RefuseWhileRunning
!insertmacro StartChecks un.onInit un.TrimFolder un.RefuseWhileRunning

; Only the program's own files are written: the settings key and "cmd.his" of an older copy stay as
; the user left them.
Section "Zelvor" SecProgram
    ; Started again since the folder was chosen?
    Call RefuseWhileRunning
    SetOutPath "$INSTDIR"
    File "${STAGE}\Zelvor.exe"
    File "${STAGE}\Zelvor.hlp"
    File "${STAGE}\README.txt"
    !insertmacro InstallHelpPages
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateShortCut "$SMPROGRAMS\Zelvor.lnk" "$INSTDIR\Zelvor.exe" "" "$INSTDIR\Zelvor.exe" 0

    WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "Zelvor"
    WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "Kestrune"
    WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Zelvor.exe,0"
    WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
    ; In KB: the program's files and the uninstaller, not what the user keeps in the folder.
    SectionGetSize ${SecProgram} $0
    ${GetSize} "$INSTDIR" "/M=Uninstall.exe /S=0K /G=0" $1 $2 $3
    IntOp $0 $0 + $1
    WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

; Files are removed by name, never the folder with what it holds: a file of the user's there stays,
; and so does the folder then. The settings key and "cmd.his" belong to the user and stay too.
Section "Uninstall"
    ; A running Zelvor keeps its file: say so rather than remove the entry of a program still there.
retry:
    ClearErrors
    Delete "$INSTDIR\Zelvor.exe"
    IfErrors 0 removed
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Zelvor is running. Close it and click Retry." /SD IDCANCEL IDRETRY retry
        SetErrorLevel 2
        Abort "Zelvor is running."
removed:
    Delete "$INSTDIR\Zelvor.hlp"
    !insertmacro RemoveHelpPages
    Delete "$INSTDIR\README.txt"
    ; The index Windows Help builds beside the help file on first use.
    Delete "$INSTDIR\Zelvor.GID"
    Delete "$INSTDIR\Zelvor.FTS"
    Delete "$INSTDIR\Zelvor.FTG"
    Delete "$SMPROGRAMS\Zelvor.lnk"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    ; Last, so that a gone entry means the files are gone.
    DeleteRegKey HKLM "${UNINST_KEY}"
SectionEnd
