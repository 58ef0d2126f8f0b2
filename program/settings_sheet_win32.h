#pragma once

class CMyDialog;
class RegistryKey;
class ShellEnvironment;

// The main dialog's "&Settings..." command (32774): the "Settings" sheet with its one
// page, OK and Cancel only, owned by the main window. Afterwards, whichever button closed
// it, the main dialog's window effects follow the WindowFx setting. The key and the shell
// are those the settings and file types are kept with. Returns IDOK, IDCANCEL, or -1
// when the sheet could not be shown.
int RunSettingsSheet(CMyDialog& mainDialog, RegistryKey& key, ShellEnvironment& shell);
