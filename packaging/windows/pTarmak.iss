; The Windows installer of pTarmak, for Inno Setup 6 (free). From the
; repository's folder, after windeployqt has filled deploy\ (docs/WINDOWS.md):
;   iscc packaging\windows\pTarmak.iss
; It writes build\ptarmak-<version>-setup.exe. The version is pTarmak.exe's
; own, which CMakeLists.txt sets. Kept as UTF-8 with a byte order mark, which
; Inno Setup needs to read the Japanese names.

#define Deploy SourcePath + "..\..\deploy"
#if !FileExists(Deploy + "\pTarmak.exe")
  #error deploy\pTarmak.exe is missing: build pTarmak and run windeployqt first
#endif
#define AppVersion GetFileVersionString(Deploy + "\pTarmak.exe")

[Setup]
AppId={{6E1C2B7A-4D3F-4B8E-9A51-0C7D2E5F8A13}
AppName=アスファルト合材舗設実績表 (pTarmak)
AppVersion={#AppVersion}
AppVerName=pTarmak {#AppVersion}
DefaultDirName={autopf}\pTarmak
DefaultGroupName=pTarmak
DisableProgramGroupPage=yes
ArchitecturesAllowed=x64compatible
ArchitecturesInstallIn64BitMode=x64compatible
; Installs for the current user without administrator rights unless the user
; chooses all users.
PrivilegesRequiredOverridesAllowed=dialog
SetupIconFile=pTarmak.ico
UninstallDisplayIcon={app}\pTarmak.exe
OutputDir={#SourcePath}..\..\build
OutputBaseFilename=ptarmak-{#AppVersion}-setup
WizardStyle=modern

[Languages]
Name: "japanese"; MessagesFile: "compiler:Languages\Japanese.isl"

[Tasks]
Name: "desktopicon"; Description: "{cm:CreateDesktopIcon}"; Flags: unchecked

[Files]
Source: "{#Deploy}\*"; DestDir: "{app}"; Flags: ignoreversion recursesubdirs

; The settings (registry HKCU\Software\kanmuri) and the configuration and data
; folder (%LOCALAPPDATA%\kanmuri) are the user's: the uninstaller leaves them.
[Icons]
Name: "{autoprograms}\アスファルト合材舗設実績表"; Filename: "{app}\pTarmak.exe"
Name: "{autodesktop}\アスファルト合材舗設実績表"; Filename: "{app}\pTarmak.exe"; Tasks: desktopicon

[Run]
Filename: "{app}\pTarmak.exe"; Description: "{cm:LaunchProgram,アスファルト合材舗設実績表}"; Flags: nowait postinstall skipifsilent
