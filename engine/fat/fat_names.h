#pragma once
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

// Names on a FAT volume: the 11-byte short name (8.3, code page bytes), the VFAT long
// name in UTF-16 pieces of 13, and the UTF-8 this program gives paths in.

// "README.TXT" from the 11 bytes "README  TXT" (0x05 in front read as 0xE5); bytes
// beyond ASCII taken as code page 437.
std::string ShortNameText(const uint8_t (&name)[11]);

// The checksum every long-name piece carries of its short name.
uint8_t LongNameChecksum(const uint8_t (&name)[11]);

// UTF-16 to UTF-8 (a lone surrogate becomes U+FFFD) and back (bytes that are not UTF-8
// become U+FFFD).
std::string Utf8OfUtf16(const std::vector<uint16_t>& text);
std::vector<uint16_t> Utf16OfUtf8(const std::string& text);

// Does `name` fit a short entry as it is (upper case 8.3 of allowed characters, no
// device name such as "AUX.C")? Then `shortName` holds it, blank-padded.
bool FitsShortName(const std::string& name, uint8_t (&shortName)[11]);

// A long name's short alias as Windows makes it: "LONGFI~1.TXT", the number the lowest
// that no name in `taken` has (each an 11-byte short name).
void ShortAliasOf(const std::string& longName, const std::vector<std::string>& taken,
                  uint8_t (&alias)[11]);

// Can this name be a FAT entry's long name (not empty, at most 255 UTF-16 units, no
// control characters nor any of \ / : * ? " < > |, not "." or "..")?
bool IsValidLongName(const std::string& name);

// Equal but for the case of ASCII letters, as FAT compares names.
bool SameNameIgnoringCase(const std::string& one, const std::string& other);

// A name safe to make on this and any other system: control characters and the
// characters \ / : * ? " < > | become "_", trailing dots and blanks go, a name reserved
// on Windows (CON, NUL, COM1, ...) gets "_" in front, and one left empty (".", "..")
// becomes "_".
std::string SafeHostName(const std::string& name);
