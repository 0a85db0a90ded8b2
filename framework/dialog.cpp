#include "framework/dialog.h"

#include "core/profile_values.h"
#include "framework/app.h"
#include "framework/exceptions.h"
#include "framework/step_trace.h"
#include "framework/texts.h"

#include <cstring>
#include <utility>

namespace fw {
namespace {

// The extended template's header (DLGTEMPLATEEX, which no SDK header
// declares): dlgVer 1 and signature 0xFFFF, then helpID, exStyle, style and
// cDlgItems before the position.
constexpr WORD kExTemplateVersion = 1;
constexpr WORD kExTemplateSignature = 0xFFFF;
constexpr std::size_t kExTemplateX = 18;
constexpr std::size_t kExTemplateY = 20;
constexpr std::size_t kExTemplateFixedSize = 26; // through cy

// Template position, classic or extended form: is the dialog placed at (0, 0)?
bool TemplateAtOrigin(const void* data, DWORD size)
{
    const auto* words = static_cast<const WORD*>(data);
    if (size >= kExTemplateFixedSize && words[0] == kExTemplateVersion && words[1] == kExTemplateSignature) {
        const auto* ex = static_cast<const BYTE*>(data);
        short x, y;
        std::memcpy(&x, ex + kExTemplateX, sizeof x);
        std::memcpy(&y, ex + kExTemplateY, sizeof y);
        return x == 0 && y == 0;
    }
    if (size >= sizeof(DLGTEMPLATE)) {
        const auto* t = static_cast<const DLGTEMPLATE*>(data);
        return t->x == 0 && t->y == 0;
    }
    return false;
}

} // namespace

decltype(CDialog::kMessageMap) CDialog::kMessageMap{
    OnCommandOrAccelerator<IDOK, &CDialog::OnOK>(),
    OnCommandOrAccelerator<IDCANCEL, &CDialog::OnCancel>(),
    OnCommandOrAccelerator<kIdHelp, &CDialog::OnHelp>(),
};

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal()
{
    m_openFailure = OpenFailure::None;
    m_openError = 0;
    HINSTANCE instance = AfxGetResourceHandle();
    HRSRC res = ::FindResourceW(instance, MAKEINTRESOURCEW(m_nIDTemplate), RT_DIALOG);
    HGLOBAL loaded = res ? ::LoadResource(instance, res) : nullptr;
    const void* tmpl = loaded ? ::LockResource(loaded) : nullptr;
    if (!tmpl) {
        m_openError = ::GetLastError();
        m_openFailure = OpenFailure::Template;
        return -1;
    }
    m_templateAtOrigin = TemplateAtOrigin(tmpl, ::SizeofResource(instance, res));

    HWND owner = AfxGetSafeOwner(m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr);
    const bool disableOwner = owner && ::IsWindowEnabled(owner);
    if (disableOwner)
        ::EnableWindow(owner, FALSE);

    m_endModal = false;
    m_nModalResult = -1;
    m_inModal = true;
    HWND hwnd = nullptr;
    {
        StepScope step("window.create");
        ::SetLastError(0);
        hwnd = ::CreateDialogIndirectParamW(instance, static_cast<LPCDLGTEMPLATEW>(tmpl), owner,
                                            &InitDialogProc, reinterpret_cast<LPARAM>(this));
        if (!hwnd) {
            m_openError = ::GetLastError();
            m_openFailure = OpenFailure::Window;
        }
    }
    if (hwnd && m_hWnd == hwnd && !m_endModal)
        RunModalLoop();

    if (m_hWnd) {
        // Hidden first, so that re-enabling the owner does not flash.
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    if (disableOwner)
        ::EnableWindow(owner, TRUE);
    if (owner && m_hWnd && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(owner);
    if (m_hWnd)
        DestroyWindow();
    else if (hwnd && ::IsWindow(hwnd))
        ::DestroyWindow(hwnd);
    m_inModal = false;
    return hwnd ? m_nModalResult : -1;
}

void CDialog::RunModalLoop()
{
    // A template without WS_VISIBLE is shown once the queue first runs dry,
    // so that messages posted during initialisation are handled before the
    // user sees the window.
    bool showWhenIdle = !(GetStyle() & WS_VISIBLE);
    MSG msg;
    while (!m_endModal) {
        if (showWhenIdle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            ShowNow();
            showWhenIdle = false;
            continue;
        }
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1)
            break;
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!PreTranslateGuarded(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (showWhenIdle && (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && m_hWnd) {
            ShowNow();
            showWhenIdle = false;
        }
        if (!m_hWnd)
            break; // destroyed under us
    }
}

void CDialog::ShowNow()
{
    StepScope step("window.show");
    ShowWindow(SW_SHOWNORMAL);
    UpdateWindow();
}

BOOL CDialog::PreTranslateGuarded(MSG* msg)
{
    // Pre-translation runs handlers too (F5, the context menu): the same
    // boundary as a window procedure applies, so a failure never leaves
    // the modal loop.
    return CallReporting([&] { return WalkPreTranslateTree(m_hWnd, msg); }, FALSE);
}

void CDialog::EndDialog(int result)
{
    m_nModalResult = result;
    m_endModal = true;
    if (m_hWnd)
        PostMessage(WM_NULL); // wakes the loop if it is waiting
}

INT_PTR CALLBACK CDialog::InitDialogProc(HWND hwnd, UINT msg, WPARAM, LPARAM l)
{
    if (msg != WM_INITDIALOG)
        return FALSE;
    auto* dialog = reinterpret_cast<CDialog*>(l);
    if (!dialog || !dialog->SubclassWindow(hwnd))
        return TRUE;
    return CallReporting(
        [dialog] {
            const BOOL result = dialog->OnInitDialog();
            // As the platform's framework does for a dialog placed at (0, 0)
            // without a centring style: open it centred over its owner.
            if (dialog->m_templateAtOrigin && !(dialog->GetStyle() & DS_CENTER))
                dialog->CenterWindow();
            return result;
        },
        TRUE);
}

BOOL CDialog::OnInitDialog()
{
    ExecuteDlgInit();
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::ExecuteDlgInit()
{
    HINSTANCE instance = AfxGetResourceHandle();
    HRSRC res = ::FindResourceW(instance, MAKEINTRESOURCEW(m_nIDTemplate), MAKEINTRESOURCEW(kRtDlgInit));
    if (!res)
        return;
    HGLOBAL loaded = ::LoadResource(instance, res);
    const auto* p = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    if (!p)
        return;
    const BYTE* end = p + ::SizeofResource(instance, res);
    // Records of: WORD control ID (0 ends the list), WORD message,
    // DWORD length, then the data, handed over as (length, pointer).
    while (end - p >= 2) {
        WORD id, message;
        DWORD length;
        std::memcpy(&id, p, 2);
        if (id == 0 || end - p < 8)
            break;
        std::memcpy(&message, p + 2, 2);
        std::memcpy(&length, p + 4, 4);
        p += 8;
        if (length > static_cast<DWORD>(end - p))
            break;
        ::SendDlgItemMessageW(m_hWnd, id, message, length, reinterpret_cast<LPARAM>(p));
        p += length;
    }
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    const bool previous = std::exchange(m_lockoutNotify, true);
    BOOL ok = TRUE;
    try {
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        ok = FALSE;
    } catch (...) {
        m_lockoutNotify = previous;
        throw;
    }
    m_lockoutNotify = previous;
    return ok;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    // Keyboard and mouse input of this dialog gets the dialog navigation
    // keys (Tab, Enter, Escape, mnemonics); everything else is dispatched.
    const bool input = (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) ||
                       (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST);
    if (!input || !m_hWnd)
        return FALSE;
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd))
        return FALSE;
    return ::IsDialogMessageW(m_hWnd, msg);
}

LRESULT CDialog::WindowProc(UINT msg, WPARAM w, LPARAM l)
{
    // While a data exchange fills the controls, their notifications are
    // dropped before any handler sees them.
    if (msg == WM_COMMAND && m_lockoutNotify && l != 0)
        return 0;
    return CWnd::WindowProc(msg, w, l);
}

void CDialog::OnHelp()
{
    if (CWinApp* app = AfxGetApp())
        app->OnHelp();
}

// --- data exchange ----------------------------------------------------------

HWND CDataExchange::PrepareCtrl(int id)
{
    HWND control = m_pDlgWnd->GetDlgItem(id);
    if (!control)
        throw CResourceException(static_cast<UINT>(id));
    m_hWndLastControl = control;
    m_bEditLastControl = false;
    return control;
}

HWND CDataExchange::PrepareEditCtrl(int id)
{
    HWND control = PrepareCtrl(id);
    m_bEditLastControl = true;
    return control;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl && ::IsWindow(m_hWndLastControl)) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessageW(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    throw CUserException();
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (!control.m_hWnd)
        control.SubclassWindow(dx->PrepareCtrl(id));
}

void DDX_Text(CDataExchange* dx, int id, std::int16_t& value)
{
    HWND edit = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate) {
        const int n = ::GetWindowTextLengthW(edit);
        std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
        text.resize(static_cast<std::size_t>(::GetWindowTextW(edit, text.data(), n + 1)));
        const auto parsed = core::ParseInt16(text);
        if (!parsed) {
            AfxMessageBox(texts::kParseInt16, MB_OK | MB_ICONEXCLAMATION);
            dx->Fail();
        }
        value = *parsed;
    } else {
        ::SetWindowTextW(edit, core::FormatInt(value).c_str());
    }
}

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    HWND box = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageW(box, BM_GETCHECK, 0, 0));
    else
        ::SendMessageW(box, BM_SETCHECK, value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
}

} // namespace fw
