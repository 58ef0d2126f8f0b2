#pragma once
#include <windows.h>

#include "ui/fade_steps.h"

// The window fades of the whole process.
//
// Every fade runs on a fresh thread and all of them share one record, FadeState, kept
// behind one lock. Starting a fade (on the window's thread) hands out a ticket; the
// newest ticket owns the fade and every older fade gives way. At most one thread, the
// runner, applies alpha at a time. A new fade waits, polling every millisecond, for the
// runner to end; the runner sees at its next step that it has been superseded, applies
// the step it has already computed and ends, and the new fade continues from the alpha
// reached. Since an older fade never waits for a newer one, no two fades can wait for
// each other, whatever their directions and windows.
//
// The alpha is applied with the lock held, and a window being destroyed takes itself out
// of the record under the same lock (ForgetFadeWindow, from its WM_DESTROY): once that
// returns, no fade thread touches the window again. Holding the lock across the alpha
// call is safe because SetLayeredWindowAttributes sends nothing to the window's thread,
// the only other thread that takes the lock.

struct FadeState {
    int minAlpha;        // alpha at the end of a fade-out
    int maxAlpha;        // alpha at the end of a fade-in
    int currentAlpha;    // alpha applied last (or about to be)
    int stepDelayMs;     // pause before each step
    int fadeOutRunning;  // fade-out threads between their start and their end
    int fadeInRunning;   // fade-in threads between their start and their end
};

// A copy of the record, taken under the lock.
FadeState ReadFadeState();

// The limits and pause of every later fade; the window just set up is opaque, so the
// current alpha becomes `high`.
void SetFadeParameters(int low, int high, int delayMs);

// Starts a fade of the window towards the minimum (Out) or maximum (In) on a thread of
// its own. false when no thread could be started.
bool StartFade(FadeDirection direction, HWND window);

// From the window's WM_DESTROY: no fade applies alpha to it afterwards.
void ForgetFadeWindow(HWND window);

// The thread routines; the parameter is the fade's ticket. Each returns 0 when it ends.
DWORD WINAPI FadeOut(LPVOID ticket);
DWORD WINAPI FadeIn(LPVOID ticket);

// The per-window alpha call: SetLayeredWindowAttributes, looked up in USER32.DLL at run
// time because Windows 95, 98, Me and NT 4 lack it (null there).
using LayeredAlphaFunction = BOOL(WINAPI*)(HWND window, COLORREF key, BYTE alpha, DWORD flags);
LayeredAlphaFunction FindLayeredAlphaFunction();

// Whether windows can be given an alpha here (or in a test's stead).
bool HasLayeredAlpha();

// Applies an alpha to a window under the fade lock; false when the call is missing or
// fails (a window that is not layered).
bool ApplyWindowAlpha(HWND window, int alpha);

// For tests: every later alpha call goes through `function` (which may be null, as on a
// platform without it) until UseSystemLayeredAlphaFunction.
void UseLayeredAlphaFunction(LayeredAlphaFunction function);
void UseSystemLayeredAlphaFunction();
