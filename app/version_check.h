#pragma once

class MessageSink;
class RegistryKey;
class ShellEnvironment;

// At the first start of each program version (the stored "Info\Version" differs from
// ours, or is missing), asks whether ".img" and ".imz" should open with this program.
// Yes registers both types and notifies the shell; either answer stores our version, so
// the question comes once per version.
void CheckInstalledVersion(RegistryKey& key, ShellEnvironment& shell, MessageSink& sink);
