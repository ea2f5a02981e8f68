; The Quorvane installer: a per-user installation that needs no administrator.
; cmake/Package.cmake runs makensis with these definitions:
;   VERSION       the release, "5.0.0"
;   FILE_VERSION  the four-part version of the files, "5.0.0.0"
;   STAGE         the folder that holds the files to install
;   ICON          the program's icon
;   OUTFILE       the installer to write
; Installs silently with /S (and /D=folder as the last argument); the uninstaller takes /S too.

; The programs are 64-bit, so the installer is too: it runs wherever they can run, under a
; 64-bit-only Wine as well.
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "nsDialogs.nsh"

!define PRODUCT "Quorvane"
!define PUBLISHER "Quorvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvane"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "Software\VB and VBA Program Settings\Quorvane"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; An upgrade goes where the installed copy is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel user
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${FILE_VERSION}"
VIFileVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${FILE_VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${FILE_VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
; Drawn from the program's icon; makensis reads it beside this script.
!define MUI_WELCOMEFINISHPAGE_BITMAP "welcome.bmp"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Setup will install ${PRODUCT} ${VERSION}, the privacy cleaner, for you alone. It needs no administrator rights.$\r$\n$\r$\nClose ${PRODUCT} if it is running, then click Next to continue."
!define MUI_FINISHPAGE_RUN "$INSTDIR\Quorvane.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\Help\Help.chm"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Open the User's Guide"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
UninstPage custom un.UserDataPage un.UserDataPageLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; A companion that runs from the folder holds Kelverin.exe open: ask it to end first. It is
; asked without a console window, and whatever it answers, installing goes on.
!macro StopCompanion
  ${If} ${FileExists} "$INSTDIR\Kelverin.exe"
    nsExec::Exec '"$INSTDIR\Kelverin.exe" --stop'
    Pop $0
  ${EndIf}
!macroend

Section "${PRODUCT}"
  SetOutPath "$INSTDIR"
  !insertmacro StopCompanion
  File "${STAGE}\Quorvane.exe"
  File "${STAGE}\Kelverin.exe"
  File "${STAGE}\TIPOFDAY.TXT"
  SetOutPath "$INSTDIR\Help"
  File "${STAGE}\Help\Help.chm"
  SetOutPath "$INSTDIR"

  ; The program keeps its options only in an existing Local.Ini and never creates one. An
  ; upgrade keeps the user's file as it is.
  ${IfNot} ${FileExists} "$INSTDIR\Local.Ini"
    FileOpen $0 "$INSTDIR\Local.Ini" w
    FileClose $0
  ${EndIf}
  CreateDirectory "$INSTDIR\Custom"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Quorvane.exe" "" "$INSTDIR\Quorvane.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quorvane.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Leaves 1 on the stack when the command on the stack starts a program inside the install
; folder, else 0. The command may quote its program path and carry arguments; the folder is
; compared with its closing back-slash, so "...\Quorvane Old\" is not taken for "...\Quorvane\".
; Windows paths do not care about case, and neither does the comparison.
Function un.InInstallFolder
  Exch $0
  Push $1
  Push $2
  StrCpy $1 $0 1
  ${If} $1 == '"'
    StrCpy $0 $0 "" 1
  ${EndIf}
  StrLen $2 "$INSTDIR\"
  StrCpy $1 $0 $2
  ${If} $1 == "$INSTDIR\"
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; A Run value is removed only when it starts this copy: another copy elsewhere keeps its own.
!macro RemoveOwnRunValue NAME
  ReadRegStr $0 HKCU "${RUN_KEY}" "${NAME}"
  Push $0
  Call un.InInstallFolder
  Pop $1
  ${If} $1 == 1
    DeleteRegValue HKCU "${RUN_KEY}" "${NAME}"
  ${EndIf}
!macroend

; BST_CHECKED when the user ticked the box that removes the items and options. A silent
; uninstall shows no pages, so it keeps them.
Var RemoveUserData
Var RemoveUserDataBox

Function un.UserDataPage
  !insertmacro MUI_HEADER_TEXT "Your items and options" "Keep them for a later installation, or remove them too."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 40u "Your custom clean items (the Custom folder) and your options (Local.Ini) are kept, so that installing ${PRODUCT} again finds them as you left them."
  Pop $0
  ${NSD_CreateCheckbox} 0 48u 100% 12u "&Also remove my custom clean items and settings"
  Pop $RemoveUserDataBox
  ${NSD_SetState} $RemoveUserDataBox $RemoveUserData
  nsDialogs::Show
FunctionEnd

Function un.UserDataPageLeave
  ${NSD_GetState} $RemoveUserDataBox $RemoveUserData
FunctionEnd

Section "un.${PRODUCT}"
  !insertmacro StopCompanion
  !insertmacro RemoveOwnRunValue "Quorvane"
  !insertmacro RemoveOwnRunValue "Ostrevane"

  Delete "$INSTDIR\Quorvane.exe"
  Delete "$INSTDIR\Kelverin.exe"
  Delete "$INSTDIR\TIPOFDAY.TXT"
  Delete "$INSTDIR\Help\Help.chm"
  RMDir "$INSTDIR\Help"
  ; An empty Local.Ini holds nothing of the user's: it goes, so that an unused installation
  ; leaves no folder behind. One with options in it stays.
  ${GetSize} "$INSTDIR" "/M=Local.Ini /S=0B /G=0" $0 $1 $2
  ${If} $1 == 1
  ${AndIf} $0 == 0
    Delete "$INSTDIR\Local.Ini"
  ${EndIf}
  ; The item editor's working copies: left only by an edit that never finished.
  Delete "$INSTDIR\temp.ac"
  Delete "$INSTDIR\temp1.ac"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when nothing is left: the kept items and options keep the folder.
  RMDir "$INSTDIR\Custom"
  RMDir "$INSTDIR"
SectionEnd

; Exactly the item files and the options, never a folder with whatever else the user put there.
Section "un.UserData"
  ${If} $RemoveUserData == ${BST_CHECKED}
    Delete "$INSTDIR\Custom\*.ac1"
    Delete "$INSTDIR\Custom\*.ac2"
    RMDir "$INSTDIR\Custom"
    Delete "$INSTDIR\Local.Ini"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    Delete "$LOCALAPPDATA\Quorvane\Kelverin.log"
    RMDir "$LOCALAPPDATA\Quorvane"
  ${EndIf}
SectionEnd
