#pragma once
#include <windows.h>

#include <string>

// What instance_probe.exe and its test agree on.

// Posted to a running probe's window: show a modal message box until it is answered.
constexpr UINT kShowBox = WM_APP + 1;

// How long a running probe takes to handle a copy-data block.
constexpr DWORD kProbeReceiveDelayMs = 300;

// The longest a probe waits at its gate.
constexpr DWORD kProbeGateTimeoutMs = 60000;

inline std::string ProbeMutexName(const std::string& tag) { return "VorlixProbeMutex_" + tag; }
inline std::string ProbeTitle(const std::string& tag) { return "VorlixProbe_" + tag; }
