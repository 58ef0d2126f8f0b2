#pragma once
// Every key and value name the program keeps in the registry, in one place.

// Our own keys, all under HKEY_CURRENT_USER.
#define VORLIX_REGISTRY_BASE "Software\\Quendal Software\\Vorlix"

constexpr char kSettingsKeyPath[] = VORLIX_REGISTRY_BASE "\\Settings";
constexpr char kInitKeyPath[] = VORLIX_REGISTRY_BASE "\\Init";
constexpr char kInfoKeyPath[] = VORLIX_REGISTRY_BASE "\\Info";

// "Settings" values.
constexpr char kFDLetterValue[] = "FDLetter";
constexpr char kWindowFxValue[] = "WindowFx";
constexpr char kCompatibleValue[] = "Compatible";
constexpr char kSoundValue[] = "Sound";
constexpr char kEmergencyValue[] = "Emergency";
constexpr char kSuppressValue[] = "Suppress";
constexpr char kVerifyValue[] = "Verify";
constexpr char kRetriesValue[] = "Retries";

// "Init" values: the top-left corner of the main window's normal rectangle.
constexpr char kHorizPosValue[] = "HorizPos";
constexpr char kVertPosValue[] = "VertPos";

// "Info" value: the program version that last asked about the file types.
constexpr char kVersionValue[] = "Version";

// The empty name addresses a key's default value.
constexpr char kDefaultValue[] = "";

// Shell file types, all under HKEY_CLASSES_ROOT.
constexpr char kImgExtension[] = ".img";
constexpr char kImzExtension[] = ".imz";
constexpr char kImgProgId[] = "VorlixFile";
constexpr char kImzProgId[] = "VorlixCompressedFile";
// For other programs' raw image names (kBareRawExtensions) Vorlix is only offered under
// "Open with", as a value named after kImgProgId in the extension's OpenWithProgids key;
// their default program (the extension's default value) stays theirs.
constexpr char kOpenWithProgIdsKey[] = "\\OpenWithProgids";

// Appended to a ProgID.
constexpr char kDefaultIconKey[] = "\\DefaultIcon";
constexpr char kShellKey[] = "\\Shell";
constexpr char kOpenVerbKey[] = "\\Shell\\open";
constexpr char kOpenCommandKey[] = "\\Shell\\open\\command";
constexpr char kWriteVerbKey[] = "\\Shell\\write_image_to_floppy_disk";
constexpr char kWriteCommandKey[] = "\\Shell\\write_image_to_floppy_disk\\command";
// Earlier versions named the write verb with spaces.
constexpr char kOldWriteVerbKey[] = "\\Shell\\write image to floppy disk";
constexpr char kOldWriteVerbName[] = "write image to floppy disk";
constexpr char kCommandName[] = "command";

// Labels of the verbs, and the arguments their commands pass after the program path.
constexpr char kOpenVerbLabel[] = "&Open";
constexpr char kWriteVerbLabel[] = "&Write Image to Floppy Disk";
constexpr char kOpenVerbArguments[] = "\"%1\"";
constexpr char kWriteVerbArguments[] = "/W \"%1\"";
