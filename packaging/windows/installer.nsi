; The Windows installer of Pellwick and Quistel, made by scripts/build-windows:
;   makensis -NOCD -DSOURCE_DIR=<deploy folder> -DOUTPUT=<setup.exe> -DVERSION=1.0
;            -DVERSION4=1.0.0.0 -DICON=<pellwick.ico> installer.nsi
; SOURCE_DIR holds the folders Pellwick\ and Quistel\, each a program with its DLLs and its
; licences\ folder. Silent install and removal: Setup.exe /S, Uninstall.exe /S.

; A 64-bit installer for 64-bit programs (it also runs where only 64-bit Wine is installed).
Target amd64-unicode
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WinMessages.nsh"

!define PRODUCT "Pellwick and Quistel"
!define PUBLISHER "Pellwick and Quistel developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\PellwickQuistel"
; Pellwick's hidden window that ends the program the orderly way on WM_CLOSE.
!define PELLWICK_CLOSE_CLASS "PellwickCloseRequests"
!define SYNCHRONIZE 0x00100000

Name "${PRODUCT}"
OutFile "${OUTPUT}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
; Both folders hold the same Qt and runtime DLLs: a dictionary that spans the first folder
; stores the second copy as references.
SetCompressorDictSize 64

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} installer"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright 2026 the Pellwick and Quistel developers"

LicenseData "${SOURCE_DIR}\Pellwick\licences\LICENSE.txt"
Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

; Files of a running program cannot be replaced or removed. Both the installer and the
; uninstaller end Pellwick first and wait for Quistel, which may hold a text not yet saved.
!macro RunningProgramFunctions un
  ; Pellwick gives the caption it rewrote last back and ends; wait for its process.
  Function ${un}EndPellwick
    FindWindow $0 "${PELLWICK_CLOSE_CLASS}" "Pellwick"
    ${If} $0 <> 0
      System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
      System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p .r2'
      SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
      ${If} $2 <> 0
        System::Call 'kernel32::WaitForSingleObject(p r2, i 15000)'
        System::Call 'kernel32::CloseHandle(p r2)'
      ${EndIf}
    ${EndIf}
  FunctionEnd

  ; Until the program file $R1 can be opened for writing, asks to close the program named $R2;
  ; Cancel (and a silent run) stops before any file is touched.
  Function ${un}WaitUntilClosed
    ${Do}
      ${IfNot} ${FileExists} "$R1"
        ${Break}
      ${EndIf}
      ClearErrors
      FileOpen $0 "$R1" a
      ${IfNot} ${Errors}
        FileClose $0
        ${Break}
      ${EndIf}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "$R2 is running. Close it (save your text first), then choose Retry." \
        /SD IDCANCEL IDRETRY +2
      Abort "$R2 is running: nothing was changed."
    ${Loop}
  FunctionEnd

  Function ${un}CloseRunningPrograms
    Call ${un}EndPellwick
    StrCpy $R1 "$INSTDIR\Pellwick\pellwick.exe"
    StrCpy $R2 "Pellwick"
    Call ${un}WaitUntilClosed
    StrCpy $R1 "$INSTDIR\Quistel\quistel.exe"
    StrCpy $R2 "Quistel"
    Call ${un}WaitUntilClosed
  FunctionEnd
!macroend
!insertmacro RunningProgramFunctions ""
!insertmacro RunningProgramFunctions "un."

; An upgrade writes over the programs' files; the user's settings, Run value and saved texts
; are not the installer's and stay as they are.
Section "Programs"
  Call CloseRunningPrograms
  SetOutPath "$INSTDIR\Pellwick"
  File /r "${SOURCE_DIR}\Pellwick\*"
  SetOutPath "$INSTDIR\Quistel"
  File /r "${SOURCE_DIR}\Quistel\*"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Pellwick.lnk" "$INSTDIR\Pellwick\pellwick.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Quistel.lnk" "$INSTDIR\Quistel\quistel.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Uninstall.lnk" "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Pellwick\pellwick.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Started through Explorer, so that Pellwick runs as the user and not with the installer's
; administrator rights.
Function .onInstSuccess
  ${IfNot} ${Silent}
    MessageBox MB_YESNO|MB_ICONQUESTION "Start Pellwick now?" IDNO +2
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\Pellwick\pellwick.exe"'
  ${EndIf}
FunctionEnd

; Removes what was installed, file by file: "The Crypt" beside quistel.exe (saved texts)
; and the per-user settings stay.
!macro RemoveProgram folder exe
  Delete "$INSTDIR\${folder}\${exe}"
  Delete "$INSTDIR\${folder}\*.dll"
  Delete "$INSTDIR\${folder}\platforms\*.dll"
  Delete "$INSTDIR\${folder}\styles\*.dll"
  Delete "$INSTDIR\${folder}\imageformats\*.dll"
  Delete "$INSTDIR\${folder}\licences\*.txt"
  RMDir "$INSTDIR\${folder}\platforms"
  RMDir "$INSTDIR\${folder}\styles"
  RMDir "$INSTDIR\${folder}\imageformats"
  RMDir "$INSTDIR\${folder}\licences"
  RMDir "$INSTDIR\${folder}"
!macroend

Section "Uninstall"
  Call un.CloseRunningPrograms
  ; The running program is gone after uninstalling: stop starting it at log-on.
  ReadRegStr $0 HKCU "Software\Microsoft\Windows\CurrentVersion\Run" "pellwick"
  ${If} $0 == '"$INSTDIR\Pellwick\pellwick.exe"'
    DeleteRegValue HKCU "Software\Microsoft\Windows\CurrentVersion\Run" "pellwick"
  ${EndIf}
  !insertmacro RemoveProgram Pellwick pellwick.exe
  !insertmacro RemoveProgram Quistel quistel.exe
  Delete "$SMPROGRAMS\${PRODUCT}\Pellwick.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Quistel.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
