#pragma once
// Drives modal UI from inside the test process. A thread-local CBT hook sees
// each new dialog window (#32770: our dialogs, message boxes, the colour and
// font choosers) become active and runs the next queued step a moment later
// from a timer, i.e. inside that dialog's own modal loop. A dialog that finds
// no step waiting is cancelled and recorded, and a watchdog cancels anything
// still open after the deadline, so a failing test never hangs.
#include <windows.h>

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace testsupport {

class ModalDriver {
public:
    using Step = std::function<void(HWND dialog)>;

    explicit ModalDriver(DWORD deadlineMs = 15000);
    ~ModalDriver();
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    // The step for the next dialog that opens.
    ModalDriver& Then(Step step);

    std::size_t StepsLeft() const { return m_steps.size(); }
    // Titles and texts of dialogs that opened with no step waiting.
    const std::vector<std::wstring>& Unexpected() const { return m_unexpected; }
    bool TimedOut() const { return m_timedOut; }
    // Every dialog seen, in order of first activation.
    const std::vector<HWND>& Dialogs() const { return m_order; }

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM w, LPARAM l);
    static void CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD);
    static void CALLBACK WatchdogTimer(HWND, UINT, UINT_PTR id, DWORD);

    HHOOK m_hook = nullptr;
    UINT_PTR m_watchdog = 0;
    DWORD m_start = 0;
    DWORD m_deadline;
    std::deque<Step> m_steps;
    std::deque<HWND> m_pending;
    std::set<HWND> m_seen;
    std::vector<HWND> m_order;
    std::vector<std::wstring> m_unexpected;
    bool m_timedOut = false;
};

// Helpers for steps.
std::wstring WindowText(HWND hwnd);
std::wstring ClassName(HWND hwnd);
// The message of a message box.
std::wstring MessageBoxText(HWND box);
// Clicks a button of a dialog as the user would (BN_CLICKED from the button).
void Click(HWND dialog, int id);
// Replaces an edit field's text as typing over a selection would.
void TypeText(HWND dialog, int id, const std::wstring& text);

} // namespace testsupport
