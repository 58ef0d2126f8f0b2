#pragma once
#include <stdint.h>

#include <string>

// The two roots the program touches.
enum class RegistryRoot {
    CurrentUser,  // our settings, window position and version
    ClassesRoot,  // the shell's file types
};

// All of the program's own registry access goes through this. It holds at most one open
// key; one object serves a sequence of keys (Create, work, Close, Create, ...), and the
// user calls Close after the last operation on each key, which tells whether it closed;
// a system key still held when the object goes is closed then.
// Every operation returns 1 on success and 0 on failure. Names are value or sub-key
// names; the empty name is the key's default value. Queries take a default, which is
// what makes a missing key or value harmless.
//
// The contract, which the in-memory store of the tests keeps as well:
// - Create makes the key and any missing parents; Open finds an existing key only.
// - Values are strings (stored with their zero byte) or 32-bit numbers.
// - QueryString reads into a buffer of kQueryStringBufferSize bytes: a value that fits,
//   zero byte included, is read in full and gives the text up to its first zero byte;
//   a longer one fails.
// - QueryDword reads into a 4-byte buffer without looking at the stored type: a longer
//   value fails; a shorter one (a one-character string) succeeds and gives its bytes as
//   the low bytes of the number.
// - Delete removes the held key's value of that name (whatever the outcome), then its
//   sub-key of that name, which fails while that sub-key has sub-keys of its own. The
//   empty name addresses the held key itself.
class RegistryKey {
public:
    static constexpr uint32_t kQueryStringBufferSize = 16300;

    virtual ~RegistryKey() = default;

    virtual int Create(RegistryRoot root, const char* path) = 0;
    virtual int Open(RegistryRoot root, const char* path) = 0;
    virtual int Close() = 0;
    virtual int SetString(const char* name, const char* text) = 0;
    virtual int SetDword(const char* name, uint32_t value) = 0;
    virtual int QueryString(const char* name, std::string& text, const char* defaultText) = 0;
    virtual int QueryDword(const char* name, uint32_t& value, uint32_t defaultValue) = 0;
    virtual int Delete(const char* name) = 0;
};
