#include "support/modal_driver.h"

namespace testsupport {
namespace {

thread_local ModalDriver* t_driver = nullptr;

bool IsDialogClass(HWND hwnd) { return ClassName(hwnd) == L"#32770"; }

} // namespace

ModalDriver::ModalDriver(DWORD deadlineMs) : m_deadline(deadlineMs)
{
    t_driver = this;
    m_start = ::GetTickCount();
    m_hook = ::SetWindowsHookExW(WH_CBT, &CbtProc, nullptr, ::GetCurrentThreadId());
    m_watchdog = ::SetTimer(nullptr, 0, 250, &WatchdogTimer);
}

ModalDriver::~ModalDriver()
{
    ::KillTimer(nullptr, m_watchdog);
    ::UnhookWindowsHookEx(m_hook);
    if (t_driver == this)
        t_driver = nullptr;
}

ModalDriver& ModalDriver::Then(Step step)
{
    m_steps.push_back(std::move(step));
    return *this;
}

LRESULT CALLBACK ModalDriver::CbtProc(int code, WPARAM w, LPARAM l)
{
    ModalDriver* self = t_driver;
    if (self && code == HCBT_ACTIVATE) {
        HWND hwnd = reinterpret_cast<HWND>(w);
        if (IsDialogClass(hwnd) && self->m_seen.insert(hwnd).second) {
            self->m_order.push_back(hwnd);
            self->m_pending.push_back(hwnd);
            // Later, from the dialog's own loop: the dialog is not fully set
            // up while it is being activated.
            ::SetTimer(nullptr, 0, 40, &StepTimer);
        }
    }
    return ::CallNextHookEx(self ? self->m_hook : nullptr, code, w, l);
}

void CALLBACK ModalDriver::StepTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    ModalDriver* self = t_driver;
    if (!self || self->m_pending.empty())
        return;
    HWND dialog = self->m_pending.front();
    self->m_pending.pop_front();
    if (!::IsWindow(dialog))
        return;
    if (self->m_steps.empty()) {
        std::wstring what = WindowText(dialog);
        const std::wstring text = MessageBoxText(dialog);
        if (!text.empty())
            what += L": " + text;
        self->m_unexpected.push_back(what);
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        ::PostMessageW(dialog, WM_CLOSE, 0, 0);
        return;
    }
    Step step = std::move(self->m_steps.front());
    self->m_steps.pop_front();
    step(dialog);
}

void CALLBACK ModalDriver::WatchdogTimer(HWND, UINT, UINT_PTR, DWORD)
{
    ModalDriver* self = t_driver;
    if (!self || ::GetTickCount() - self->m_start < self->m_deadline)
        return;
    self->m_timedOut = true;
    for (HWND h : self->m_order) {
        if (::IsWindow(h) && ::IsWindowVisible(h)) {
            ::PostMessageW(h, WM_COMMAND, IDCANCEL, 0);
            ::PostMessageW(h, WM_CLOSE, 0, 0);
        }
    }
}

std::wstring WindowText(HWND hwnd)
{
    wchar_t buf[1024] = {};
    ::GetWindowTextW(hwnd, buf, 1024);
    return buf;
}

std::wstring ClassName(HWND hwnd)
{
    wchar_t buf[256] = {};
    ::GetClassNameW(hwnd, buf, 256);
    return buf;
}

std::wstring MessageBoxText(HWND box)
{
    HWND text = ::GetDlgItem(box, 0xFFFF);
    return text ? WindowText(text) : std::wstring();
}

void Click(HWND dialog, int id)
{
    HWND button = ::GetDlgItem(dialog, id);
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void TypeText(HWND dialog, int id, const std::wstring& text)
{
    HWND edit = ::GetDlgItem(dialog, id);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    ::SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

} // namespace testsupport
