; The silent installer of Tavisnap, built by makensis from the installed files that
; scripts/layout-install.sh lays out (installer/CMakeLists.txt passes FILES, OUTFILE and
; VERSION, the project's one version). TavisnapSetup.exe starts it with /SILENT.
Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include "FileFunc.nsh"
!include "LogicLib.nsh"

!ifndef FILES | OUTFILE | VERSION
  !error "makensis -DFILES=folder -DOUTFILE=installer.exe -DVERSION=a.b.c.d"
!endif

!define PRODUCT "タビスナップ"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\tavisnap"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\tavisnap"
ShowInstDetails nevershow
ShowUninstDetails nevershow

Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

LoadLanguageFile "${NSISDIR}\Contrib\Language files\Japanese.nlf"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "${PRODUCT} インストーラー"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "Tavisnap Project"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "Copyright (C) 2026 Tavisnap Project"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "OriginalFilename" "tavisnap_setup_silent.exe"

Function .onInit
  SetRegView 64
  ; /SILENT as the launcher passes it (NSIS itself knows only /S).
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/SILENT" $R1
  ${IfNot} ${Errors}
    SetSilent silent
  ${EndIf}
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  ; A Tavisnap that the launcher has just ended may hold its program file for a moment.
  ${If} ${FileExists} "$INSTDIR\tavisnap.exe"
    ${For} $1 1 20
      ClearErrors
      FileOpen $0 "$INSTDIR\tavisnap.exe" a
      ${IfNot} ${Errors}
        FileClose $0
        ${Break}
      ${EndIf}
      Sleep 500
    ${Next}
  ${EndIf}
  File "${FILES}/tavisnap.exe"
  File "${FILES}/readme.txt"
  ; The machine's defaults. The program never writes the folder: each user's settings,
  ; pictures and downloads live in that user's profile, and the folder keeps the rights
  ; of Program Files. An earlier version kept every user's account and address book in
  ; this file, so an existing one stays as it is: each user's first start copies it.
  SetOverwrite off
  File "${FILES}/system.ini"
  SetOverwrite on

  WriteUninstaller "$INSTDIR\uninstall.exe"
  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\tavisnap.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}のアンインストール.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Tavisnap Project"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tavisnap.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

; The program's files go; system.ini (an earlier version's account and address book)
; and anything else put into the folder stay, and so does the folder holding them. The
; users' profiles are theirs and are not touched.
Section "Uninstall"
  Delete "$INSTDIR\tavisnap.exe"
  Delete "$INSTDIR\readme.txt"
  ; Left by an earlier version, which wrote its pictures beside the program.
  Delete "$INSTDIR\capture\capture.jpg"
  RMDir "$INSTDIR\capture"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}のアンインストール.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
