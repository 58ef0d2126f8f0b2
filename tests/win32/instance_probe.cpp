// A stand-in for one start of the program, driven by instance_checker_test.cpp as real
// processes.
//
//   instance_probe.exe LOG TAG GATE [WORDS...]
//
// LOG   the file this start appends its report lines to
// TAG   makes the mutex and block names private to one test
// GATE  a named event to wait for before starting ("-": none), so that many starts can
//       be let go at the same moment
// WORDS the start's command-line words from word 1 on
//
// Report lines: "ready" (waiting at the gate), then either "handed-over N" (found a
// running instance; N is the window handle read from its block, 0 when it had gone) or
// "published N" / "unpublished" (became the running instance with window N, or could not
// publish). A running instance then logs "received TEXT" or "rejected" for each
// copy-data block, and "box-shown" / "box-closed" around a modal message box it shows on
// kShowBox. WM_CLOSE ends it.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/hand_over_win32.h"
#include "app/instance_checker_win32.h"
#include "tests/win32/instance_probe.h"

namespace {

const char* g_log = "";

void Log(const std::string& line) {
    FILE* file = fopen(g_log, "ab");
    if (file == nullptr) return;
    fputs((line + "\r\n").c_str(), file);
    fclose(file);
}

std::string Number(HWND window) {
    return std::to_string(reinterpret_cast<uintptr_t>(window));
}

LRESULT CALLBACK ProbeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COPYDATA: {
        // Slow on purpose: a sender that did not wait for us would end before this line.
        Sleep(kProbeReceiveDelayMs);
        auto path = HandedOverImagePath(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        Log(path ? "received " + *path : std::string("rejected"));
        return TRUE;
    }
    case kShowBox:
        Log("box-shown");
        MessageBoxA(window, "A modal box", "Instance probe", MB_OK);
        Log("box-closed");
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND CreateProbeWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ProbeWindowProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.hCursor = LoadCursor(NULL, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "VorlixInstanceProbe";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "Instance probe",
                                  WS_OVERLAPPEDWINDOW, 40, 40, 320, 200, NULL, NULL,
                                  windowClass.hInstance, NULL);
    if (window != NULL) ShowWindow(window, SW_SHOWNORMAL);
    return window;
}

void WaitAtGate(const char* name) {
    if (strcmp(name, "-") == 0) return;
    UniqueHandle gate(OpenEventA(SYNCHRONIZE, FALSE, name));
    Log("ready");
    if (gate) WaitForSingleObject(gate.Get(), kProbeGateTimeoutMs);
}

int RunInstance(CInstanceChecker& checker) {
    HWND window = CreateProbeWindow();
    checker.SetMainWindow(window);
    // A start that slipped past a broken start-up lock would now find no block yet.
    Sleep(100);
    if (!checker.PublishMainWindow()) {
        Log("unpublished");
        return 1;
    }
    Log("published " + Number(window));
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    g_log = argv[1];
    const std::string tag = argv[2];
    WaitAtGate(argv[3]);

    CInstanceChecker checker(ProbeMutexName(tag).c_str(), ProbeTitle(tag).c_str());
    checker.BeginStartupLock();
    if (checker.IsOtherInstanceRunning()) {
        std::vector<std::string> words{argv[0]};
        words.insert(words.end(), argv + 4, argv + argc);
        HWND running = checker.HandOverToRunningInstance(HandOverText(words).c_str());
        Log("handed-over " + Number(running));
        return 0;
    }
    return RunInstance(checker);
}
