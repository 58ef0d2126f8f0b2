#pragma once

class RegistryKey;
class ShellEnvironment;

// The shell's file types ".img" and ".imz" under HKEY_CLASSES_ROOT: a document icon from
// the program file, an "&Open" verb that opens the image in the main dialog and a write
// verb that writes it to a floppy unattended. Registry failures are not reported; each
// key is written with its own Create and Close, so one failing key does not stop the
// rest. The caller sends the association-changed notice once after a batch.

// Both types, the removal of the write verb's old key name, and Vorlix under "Open with"
// for ".ima", ".vfd" and ".flp" (the raw type's ProgID in their OpenWithProgids keys;
// their default program is left alone).
void RegisterAllTypes(RegistryKey& key, const ShellEnvironment& shell);

// `enable` registers the type; otherwise the extension's link to its ProgID is removed
// and the ProgID's keys stay in place. The ".img" type takes the "Open with" entries of
// the other raw names along, and removes only its own value from them.
void RegisterImgType(RegistryKey& key, const ShellEnvironment& shell, bool enable);
void RegisterImzType(RegistryKey& key, const ShellEnvironment& shell, bool enable);

// Deletes "write image to floppy disk" (with spaces) under both ProgIDs, whether or not
// it existed.
void RemoveOldVerbs(RegistryKey& key);

// True when the open command of the extension's ProgID contains our program path
// (case-sensitively). The icon and the write verb are not looked at.
bool IsTypeAssociated(RegistryKey& key, const ShellEnvironment& shell, const char* extension);
