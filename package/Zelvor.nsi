; Zelvor's installer. makensis gets VERSION, STAGE (the folder holding Zelvor.exe, Zelvor.hlp, README.txt
; and zelvor.ico) and OUTFILE on its command line.
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include FileFunc.nsh

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelvor"

Name "Zelvor ${VERSION}"
Caption "Zelvor ${VERSION} Setup"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Zelvor"
; A reinstall goes where the installed copy is, unless /D= says otherwise.
InstallDirRegKey HKLM "${UNINST_KEY}" "InstallLocation"
; A file that cannot be written (a running Zelvor.exe) fails the install instead of leaving the old one.
AllowSkipFiles off
Icon "${STAGE}\zelvor.ico"
UninstallIcon "${STAGE}\zelvor.ico"
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

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Program Files, the uninstall entry and every user's Start menu need an administrator (on XP no prompt
; raises the rights, so say it and stop).
!macro RequireAdmin un
Function ${un}.onInit
    UserInfo::GetAccountType
    Pop $0
    StrCmp $0 "Admin" admin
        MessageBox MB_ICONSTOP "Administrator rights are needed for this." /SD IDOK
        SetErrorLevel 740
        Quit
admin:
    SetShellVarContext all
FunctionEnd
!macroend
!insertmacro RequireAdmin ""
!insertmacro RequireAdmin "un"

; Only the program's own files are written: the settings key and "cmd.his" of an older copy stay as
; the user left them.
Section "Zelvor" SecProgram
    SetOutPath "$INSTDIR"
    File "${STAGE}\Zelvor.exe"
    File "${STAGE}\Zelvor.hlp"
    File "${STAGE}\README.txt"
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
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Zelvor.exe cannot be removed. Close Zelvor and retry." /SD IDCANCEL IDRETRY retry
        Abort "Zelvor.exe cannot be removed."
removed:
    Delete "$INSTDIR\Zelvor.hlp"
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
