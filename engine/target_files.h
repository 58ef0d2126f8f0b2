#pragma once

// Outcomes of TargetFiles::CreateNew.
enum class NewFile {
    Created,
    Taken,   // something of that name is there already
    Failed,  // nothing is there, yet nothing could be made (no such folder, no right to)
};

// The few file operations that let an image be made under a name of its own and only
// then take its target's place, so that an existing target survives a read that fails.
// The system's (SystemTargetFiles) serve the program; tests put faults in between.
class TargetFiles {
public:
    // Creates `path` empty, only where nothing of that name exists.
    virtual NewFile CreateNew(const char* path) = 0;

    // Puts the closed file `source` in the place of `target`, which need not exist, on
    // the same volume. False when the target cannot be replaced (read only, in use); both
    // are then as they were, as far as the system allows.
    virtual bool Replace(const char* source, const char* target) = 0;

    // Removes `path`; true also when there was nothing to remove, false when it stays.
    virtual bool Remove(const char* path) = 0;

protected:
    ~TargetFiles() = default;
};

// The running system's file operations. Windows of the NT family replace a file in one
// step; the 9x family, which has no such call, removes the target and then renames, so
// there a failing rename leaves no target. Elsewhere a rename replaces in one step.
class SystemTargetFiles final : public TargetFiles {
public:
    explicit SystemTargetFiles(bool ntFamily) : ntFamily_(ntFamily) {}

    NewFile CreateNew(const char* path) override;
    bool Replace(const char* source, const char* target) override;
    bool Remove(const char* path) override;

private:
    bool ntFamily_;
};
