; The per-user installer of vantrel: no administrator rights, everything under the user's own profile and
; registry hive. Made by make_packages.cmake beside this file, which defines VERSION (four parts), PUBLISHER,
; DESCRIPTION, COPYRIGHT, SOURCE_DIR (the built files), ICON, OUTFILE, and HAVE_vantrel_chm and
; HAVE_vantrelj_chm for the help files that are there.
;
; Command line: /S installs silently; /AUTOSTART=1 or /AUTOSTART=0 chooses "Start vantrel when I log in" (a
; first install turns it on, an upgrade keeps the choice the user has); /D=<folder> installs elsewhere.
; The uninstaller takes /S as well.

Target amd64-unicode
Unicode true
ManifestDPIAware true
ManifestSupportedOS all
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include WinMessages.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\vantrel"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Vantrel64"
; The running program's hidden main window. WM_CLOSE to it ends the program the way its own Exit does.
!define MAIN_CLASS "TVantrelMain"
!define MAIN_TITLE "VantrelMain"
; The uninstaller's own name: an "uninstall.exe" in a folder shared with another product (/D) would be that
; product's, overwritten by the install and deleted by the uninstall.
!define UNINSTALLER "vantrel-uninstall.exe"
; How long a running copy gets to end once asked.
!define EXIT_WAIT_MS 15000
; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE
!define PROCESS_ACCESS 0x00101001

Name "vantrel"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\vantrel"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "vantrel ${VERSION}"

Var WasRunning

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\vantrel.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start vantrel now"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "vantrel"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "vantrel ${VERSION} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${COPYRIGHT}"

; RUN_VALUE_NAMES_COPY RESULT VALUE DIR: RESULT is 1 when the Run value VALUE starts DIR\vantrel.exe: the path
; quoted, as this installer and the program write it (unquoted, a path with a space is first tried cut at the
; space, C:\My.exe for C:\My Tools\...), or bare, as older versions wrote it. Letter case does not count.
!macro RUN_VALUE_NAMES_COPY result value dir
    StrCpy ${result} 0
    ${If} ${value} == '"${dir}\vantrel.exe"'
    ${OrIf} ${value} == "${dir}\vantrel.exe"
        StrCpy ${result} 1
    ${EndIf}
!macroend

; EndRunningVantrel (argument on the stack: the program path a running copy must have to be ended, or "" for
; any copy). Asks the copy to end, waits until its process has ended and sets WasRunning to 1 when it did.
; Only one vantrel runs in a session, so the installer ends whichever runs; the uninstaller ends only the copy
; it removes. A copy that does not end in time is ended by force when silent; otherwise the user may retry
; after ending it or cancel.
!macro END_RUNNING_VANTREL un
Function ${un}EndRunningVantrel
    Exch $R0
    Push $0
    Push $1
    Push $2
    Push $3
    StrCpy $WasRunning 0
    FindWindow $0 "${MAIN_CLASS}" "${MAIN_TITLE}"
    ${If} $0 == 0
        Goto done
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1) i'
    System::Call 'kernel32::OpenProcess(i ${PROCESS_ACCESS}, i 0, i r1) p .r2'
    ${If} $2 == 0
        Goto done
    ${EndIf}
    ${If} $R0 != ""
        System::Call 'kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r3, *i ${NSIS_MAX_STRLEN}) i'
        ${If} $3 != $R0
            Goto close
        ${EndIf}
    ${EndIf}
    StrCpy $WasRunning 1
    DetailPrint "Ending the running vantrel"
    ask:
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    System::Call 'kernel32::WaitForSingleObject(p r2, i ${EXIT_WAIT_MS}) i .r3'
    ${If} $3 != 0
        ${IfNot} ${Silent}
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "vantrel is still running and does not answer.$\r$\n$\r$\nEnd it (Exit in the menu of its notification-area icon, or the Task Manager) and choose Retry, or choose Cancel to stop here without changing anything." IDRETRY ask
            System::Call 'kernel32::CloseHandle(p r2)'
            Abort "vantrel is still running; nothing was changed."
        ${EndIf}
        DetailPrint "vantrel did not end when asked; ending it"
        System::Call 'kernel32::TerminateProcess(p r2, i 1) i'
        System::Call 'kernel32::WaitForSingleObject(p r2, i 5000) i'
    ${EndIf}
    close:
    System::Call 'kernel32::CloseHandle(p r2)'
    done:
    Pop $3
    Pop $2
    Pop $1
    Pop $0
    Pop $R0
FunctionEnd
!macroend
!insertmacro END_RUNNING_VANTREL ""
!insertmacro END_RUNNING_VANTREL "un."

Section "vantrel" SecProgram
    SectionIn RO
    Push ""
    Call EndRunningVantrel
    SetOutPath "$INSTDIR"
    File "${SOURCE_DIR}/vantrel.exe"
    File "${SOURCE_DIR}/dravik.dll"
!ifdef HAVE_vantrel_chm
    File "${SOURCE_DIR}/vantrel.chm"
!endif
!ifdef HAVE_vantrelj_chm
    File "${SOURCE_DIR}/vantrelj.chm"
!endif
    ; An older vantrel named its uninstaller uninstall.exe; the file goes only when its Apps & features entry
    ; says it is that one, never another product's of the same name.
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "UninstallString"
    ${If} $0 == '"$INSTDIR\uninstall.exe"'
        Delete "$INSTDIR\uninstall.exe"
    ${EndIf}
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    CreateShortcut "$SMPROGRAMS\vantrel.lnk" "$INSTDIR\vantrel.exe" "" "$INSTDIR\vantrel.exe" 0 SW_SHOWNORMAL \
        "" "${DESCRIPTION}"

    ; Apps & features, for this user only.
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "vantrel"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Comments" "${DESCRIPTION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vantrel.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Start vantrel when I log in" SecAutoStart
    ; The value the program's own option writes: its full path in quotes, without arguments.
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\vantrel.exe"'
SectionEnd

Section "-Finish"
    ${IfNot} ${SectionIsSelected} ${SecAutoStart}
        ; Turned off: only a value naming this copy is ours to remove.
        ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
        !insertmacro RUN_VALUE_NAMES_COPY $1 $0 $INSTDIR
        ${If} $1 == 1
            DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
        ${EndIf}
    ${EndIf}
    ; The size once every file is in place, in kilobytes.
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
    ; A silent upgrade leaves vantrel running when it found it running; an interactive install offers to start
    ; it on its last page.
    ${If} ${Silent}
    ${AndIf} $WasRunning == 1
        Exec '"$INSTDIR\vantrel.exe"'
    ${EndIf}
SectionEnd

Function .onInit
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
        ReadRegStr $1 HKCU "${RUN_KEY}" "${RUN_VALUE}"
        !insertmacro RUN_VALUE_NAMES_COPY $4 $1 $0
        ${If} $4 != 1
            !insertmacro UnselectSection ${SecAutoStart}
        ${EndIf}
    ${EndIf}
    ${GetParameters} $2
    ClearErrors
    ${GetOptions} $2 "/AUTOSTART=" $3
    ${IfNot} ${Errors}
        ${If} $3 == "0"
            !insertmacro UnselectSection ${SecAutoStart}
        ${Else}
            !insertmacro SelectSection ${SecAutoStart}
        ${EndIf}
    ${EndIf}
FunctionEnd

Section "Uninstall"
    Push "$INSTDIR\vantrel.exe"
    Call un.EndRunningVantrel
    Delete "$INSTDIR\vantrel.exe"
    Delete "$INSTDIR\dravik.dll"
    Delete "$INSTDIR\vantrel.chm"
    Delete "$INSTDIR\vantrelj.chm"
    Delete "$INSTDIR\${UNINSTALLER}"
    ; Removed only when empty: files the user put there stay, and so does their folder.
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\vantrel.lnk"
    ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    !insertmacro RUN_VALUE_NAMES_COPY $1 $0 $INSTDIR
    ${If} $1 == 1
        DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${EndIf}
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ; The settings in %APPDATA%\vantrel64 are the user's data and stay.
SectionEnd
