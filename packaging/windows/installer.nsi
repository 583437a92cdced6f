; The Windows installer of Pellwick and Quistel, made by scripts/build-windows:
;   makensis -NOCD -DSOURCE_DIR=<deploy folder> -DOUTPUT=<setup.exe> installer.nsi
; SOURCE_DIR holds the folders Pellwick\ and Quistel\, each a program with its DLLs.
; Silent install and removal: Setup.exe /S, Uninstall.exe /S.

; A 64-bit installer for 64-bit programs (it also runs where only 64-bit Wine is installed).
Target amd64-unicode
!include "LogicLib.nsh"

!define PRODUCT "Pellwick and Quistel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\PellwickQuistel"

Name "${PRODUCT}"
OutFile "${OUTPUT}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

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

Section "Programs"
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
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what was installed, file by file: "The Crypt" beside quistel.exe (saved texts)
; and the per-user settings stay.
!macro RemoveProgram folder exe
  Delete "$INSTDIR\${folder}\${exe}"
  Delete "$INSTDIR\${folder}\*.dll"
  Delete "$INSTDIR\${folder}\platforms\*.dll"
  Delete "$INSTDIR\${folder}\styles\*.dll"
  Delete "$INSTDIR\${folder}\imageformats\*.dll"
  RMDir "$INSTDIR\${folder}\platforms"
  RMDir "$INSTDIR\${folder}\styles"
  RMDir "$INSTDIR\${folder}\imageformats"
  RMDir "$INSTDIR\${folder}"
!macroend

Section "Uninstall"
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
