#include "ui/fade_state_win32.h"

#include "platform/handles_win32.h"

#ifndef LWA_ALPHA
#define LWA_ALPHA 0x00000002
#endif

namespace {

// The lock lives as long as the process: a fade thread may still hold it while the
// process ends, so it is never deleted.
class FadeLock {
public:
    FadeLock() { InitializeCriticalSection(&section_); }
    void Enter() { EnterCriticalSection(&section_); }
    void Leave() { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

FadeLock g_lock;

class Locked {
public:
    Locked() { g_lock.Enter(); }
    ~Locked() { g_lock.Leave(); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
};

struct Record {
    FadeState state;          // zero at process start
    unsigned lastTicket;      // handed out last
    unsigned newestTicket;    // the fade that owns the fading; older ones give way
    HWND newestWindow;        // its window, until destroyed
    unsigned runnerTicket;    // the thread applying alpha, 0 for none
    HWND runnerWindow;        // its window, NULL once destroyed
    bool systemLookedUp;      // the system's alpha call has been looked for
    LayeredAlphaFunction system;
    bool alphaReplaced;       // tests replaced the alpha call
    LayeredAlphaFunction replacement;
};

Record g_record;

// Callers hold the lock.
LayeredAlphaFunction AlphaFunctionInUse() {
    if (g_record.alphaReplaced) return g_record.replacement;
    if (!g_record.systemLookedUp) {
        g_record.system = FindLayeredAlphaFunction();
        g_record.systemLookedUp = true;
    }
    return g_record.system;
}

bool ApplyLocked(HWND window, int alpha) {
    LayeredAlphaFunction apply = AlphaFunctionInUse();
    return apply != nullptr && apply(window, 0, static_cast<BYTE>(ClampAlpha(alpha)), LWA_ALPHA) != 0;
}

int& RunningCount(FadeDirection direction) {
    return direction == FadeDirection::Out ? g_record.state.fadeOutRunning : g_record.state.fadeInRunning;
}

// Waits until this fade may apply alpha and makes it the runner, or returns false when a
// newer fade has superseded it meanwhile. Returns with the lock held either way.
bool WaitForTurn(unsigned ticket) {
    g_lock.Enter();
    while (g_record.newestTicket == ticket && g_record.runnerTicket != 0) {
        g_lock.Leave();
        Sleep(1);
        g_lock.Enter();
    }
    if (g_record.newestTicket != ticket) return false;
    g_record.runnerTicket = ticket;
    g_record.runnerWindow = g_record.newestWindow;
    return true;
}

// One fade, on its own thread. The lock is left only for the pause before each step.
DWORD RunFade(FadeDirection direction, unsigned ticket) {
    if (WaitForTurn(ticket)) {
        FadeState& state = g_record.state;
        state.currentAlpha = ClampAlpha(state.currentAlpha);
        FadeSteps steps(direction, state.currentAlpha, state.minAlpha, state.maxAlpha);
        while (g_record.newestTicket == ticket && g_record.runnerWindow != NULL &&
               steps.WantsStep(state.minAlpha, state.maxAlpha)) {
            int alpha = steps.Step(state.minAlpha, state.maxAlpha);
            state.currentAlpha = alpha;
            DWORD pause = state.stepDelayMs > 0 ? static_cast<DWORD>(state.stepDelayMs) : 0;
            g_lock.Leave();
            Sleep(pause);
            g_lock.Enter();
            if (g_record.runnerWindow != NULL) ApplyLocked(g_record.runnerWindow, alpha);
        }
        g_record.runnerTicket = 0;
        g_record.runnerWindow = NULL;
    }
    --RunningCount(direction);
    g_lock.Leave();
    return 0;
}

unsigned TicketOf(LPVOID parameter) {
    return static_cast<unsigned>(reinterpret_cast<UINT_PTR>(parameter));
}

}  // namespace

FadeState ReadFadeState() {
    Locked locked;
    return g_record.state;
}

void SetFadeParameters(int low, int high, int delayMs) {
    Locked locked;
    g_record.state.minAlpha = low;
    g_record.state.stepDelayMs = delayMs;
    g_record.state.maxAlpha = high;
    g_record.state.currentAlpha = high;
}

bool StartFade(FadeDirection direction, HWND window) {
    unsigned ticket;
    {
        Locked locked;
        ticket = ++g_record.lastTicket;
        if (ticket == 0) ticket = ++g_record.lastTicket;  // 0 stands for no runner
        g_record.newestTicket = ticket;
        g_record.newestWindow = window;
        ++RunningCount(direction);
    }
    DWORD id;
    UniqueHandle thread(CreateThread(NULL, 0, direction == FadeDirection::Out ? FadeOut : FadeIn,
                                     reinterpret_cast<LPVOID>(static_cast<UINT_PTR>(ticket)), 0, &id));
    if (thread) return true;
    Locked locked;
    --RunningCount(direction);
    return false;
}

void ForgetFadeWindow(HWND window) {
    Locked locked;
    if (g_record.runnerWindow == window) g_record.runnerWindow = NULL;
    if (g_record.newestWindow == window) {
        // Supersedes every fade, also one still waiting for its turn on this window.
        g_record.newestWindow = NULL;
        g_record.newestTicket = 0;
    }
}

DWORD WINAPI FadeOut(LPVOID ticket) {
    return RunFade(FadeDirection::Out, TicketOf(ticket));
}

DWORD WINAPI FadeIn(LPVOID ticket) {
    return RunFade(FadeDirection::In, TicketOf(ticket));
}

LayeredAlphaFunction FindLayeredAlphaFunction() {
    HMODULE user32 = GetModuleHandleA("USER32.DLL");
    if (user32 == NULL) return nullptr;
    FARPROC found = GetProcAddress(user32, "SetLayeredWindowAttributes");
    return reinterpret_cast<LayeredAlphaFunction>(reinterpret_cast<void*>(found));
}

bool HasLayeredAlpha() {
    Locked locked;
    return AlphaFunctionInUse() != nullptr;
}

bool ApplyWindowAlpha(HWND window, int alpha) {
    Locked locked;
    return ApplyLocked(window, alpha);
}

void UseLayeredAlphaFunction(LayeredAlphaFunction function) {
    Locked locked;
    g_record.alphaReplaced = true;
    g_record.replacement = function;
}

void UseSystemLayeredAlphaFunction() {
    Locked locked;
    g_record.alphaReplaced = false;
    g_record.replacement = nullptr;
}
