; The setup program: makensis -DVERSION=1.2.3 -DVERSION4=1.2.3.0 -DORIGEN=carpeta -DICONO=x.ico
;   -DSALIDA=tolvaro-1.2.3-setup.exe tolvaro.nsi
; Installs for the current user without administrator rights (in %LOCALAPPDATA%\Programs), or for
; every user when run as administrator (in Program Files). The uninstaller removes the program
; and leaves the data (%LOCALAPPDATA%\Tolvaro) where it is.
; A 64-bit setup program, like the program it installs (and runnable where only 64-bit Wine is).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define PRODUCTO "Tolvaro"
!define CLAVE_DESINSTALAR "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolvaro"

Name "${PRODUCTO} ${VERSION}"
OutFile "${SALIDA}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCTO}"

VIProductVersion "${VERSION4}"
VIAddVersionKey /LANG=1034 "ProductName" "${PRODUCTO}"
VIAddVersionKey /LANG=1034 "FileDescription" "Instalación de ${PRODUCTO}"
VIAddVersionKey /LANG=1034 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1034 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1034 "CompanyName" "${PRODUCTO}"
VIAddVersionKey /LANG=1034 "LegalCopyright" "${PRODUCTO}"

!define MUI_ICON "${ICONO}"
!define MUI_UNICON "${ICONO}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\tolvaro.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Spanish"

Var todos

Function .onInit
  ; An administrator installs for every user; anyone else for themselves.
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    StrCpy $todos "1"
    SetShellVarContext all
    StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCTO}"
  ${Else}
    StrCpy $todos "0"
    SetShellVarContext current
  ${EndIf}
FunctionEnd

Section "Tolvaro"
  SetOutPath "$INSTDIR"
  ; A previous version's files go first, so none of them is left mixed with the new ones.
  RMDir /r "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\styles"
  RMDir /r "$INSTDIR\sqldrivers"
  RMDir /r "$INSTDIR\imageformats"
  RMDir /r "$INSTDIR\tls"
  RMDir /r "$INSTDIR\translations"
  RMDir /r "$INSTDIR\simuladores"
  File /r "${ORIGEN}\*.*"
  WriteUninstaller "$INSTDIR\desinstalar.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCTO}"
  CreateShortCut "$SMPROGRAMS\${PRODUCTO}\Tolvaro.lnk" "$INSTDIR\tolvaro.exe" "" "$INSTDIR\tolvaro.exe" 0
  CreateShortCut "$SMPROGRAMS\${PRODUCTO}\Tolvaro - Recuperar un respaldo.lnk" "$INSTDIR\tolvaro.exe" \
    "--recuperar" "$INSTDIR\tolvaro.exe" 0

  ${If} $todos == "1"
    SetRegView 64
    WriteRegStr HKLM "${CLAVE_DESINSTALAR}" "DisplayName" "${PRODUCTO}"
    WriteRegStr HKLM "${CLAVE_DESINSTALAR}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${CLAVE_DESINSTALAR}" "DisplayIcon" "$INSTDIR\tolvaro.exe"
    WriteRegStr HKLM "${CLAVE_DESINSTALAR}" "Publisher" "${PRODUCTO}"
    WriteRegStr HKLM "${CLAVE_DESINSTALAR}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${CLAVE_DESINSTALAR}" "UninstallString" '"$INSTDIR\desinstalar.exe"'
    WriteRegStr HKLM "${CLAVE_DESINSTALAR}" "QuietUninstallString" '"$INSTDIR\desinstalar.exe" /S'
    WriteRegDWORD HKLM "${CLAVE_DESINSTALAR}" "NoModify" 1
    WriteRegDWORD HKLM "${CLAVE_DESINSTALAR}" "NoRepair" 1
  ${Else}
    WriteRegStr HKCU "${CLAVE_DESINSTALAR}" "DisplayName" "${PRODUCTO}"
    WriteRegStr HKCU "${CLAVE_DESINSTALAR}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${CLAVE_DESINSTALAR}" "DisplayIcon" "$INSTDIR\tolvaro.exe"
    WriteRegStr HKCU "${CLAVE_DESINSTALAR}" "Publisher" "${PRODUCTO}"
    WriteRegStr HKCU "${CLAVE_DESINSTALAR}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${CLAVE_DESINSTALAR}" "UninstallString" '"$INSTDIR\desinstalar.exe"'
    WriteRegStr HKCU "${CLAVE_DESINSTALAR}" "QuietUninstallString" '"$INSTDIR\desinstalar.exe" /S'
    WriteRegDWORD HKCU "${CLAVE_DESINSTALAR}" "NoModify" 1
    WriteRegDWORD HKCU "${CLAVE_DESINSTALAR}" "NoRepair" 1
  ${EndIf}
SectionEnd

Function un.onInit
  ; The same place the installation chose: every user's when it was registered for them.
  SetRegView 64
  ReadRegStr $0 HKLM "${CLAVE_DESINSTALAR}" "InstallLocation"
  ${If} $0 == "$INSTDIR"
    StrCpy $todos "1"
    SetShellVarContext all
  ${Else}
    StrCpy $todos "0"
    SetShellVarContext current
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ; Only the program: the data folder (%LOCALAPPDATA%\Tolvaro) stays for a later installation.
  Delete "$SMPROGRAMS\${PRODUCTO}\Tolvaro.lnk"
  Delete "$SMPROGRAMS\${PRODUCTO}\Tolvaro - Recuperar un respaldo.lnk"
  RMDir "$SMPROGRAMS\${PRODUCTO}"
  RMDir /r "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\styles"
  RMDir /r "$INSTDIR\sqldrivers"
  RMDir /r "$INSTDIR\imageformats"
  RMDir /r "$INSTDIR\tls"
  RMDir /r "$INSTDIR\translations"
  RMDir /r "$INSTDIR\simuladores"
  Delete "$INSTDIR\*.exe"
  Delete "$INSTDIR\*.dll"
  Delete "$INSTDIR\qt.conf"
  Delete "$INSTDIR\copyright.txt"
  RMDir "$INSTDIR"
  ${If} $todos == "1"
    DeleteRegKey HKLM "${CLAVE_DESINSTALAR}"
  ${Else}
    DeleteRegKey HKCU "${CLAVE_DESINSTALAR}"
  ${EndIf}
SectionEnd
