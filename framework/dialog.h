#pragma once
// Dialogs from resource templates, run modally by a loop of our own so that
// every message for the dialog and its children passes PreTranslateMessage
// before IsDialogMessage; and dialog data exchange.
#include "framework/resource_types.h"
#include "framework/window_base.h"

#include <cstdint>

namespace fw {

class CDataExchange;

class CDialog : public WithMessageMap<CDialog> {
public:
    // `parent` may be null: the dialog is then owned by the application's
    // main window (if any), as the platform's framework does.
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Creates the dialog, disables its owner and runs the modal loop until
    // EndDialog; returns the result, or -1 when the dialog cannot be created.
    virtual INT_PTR DoModal();
    void EndDialog(int result);

    // Why the last DoModal made no window: its template could not be
    // loaded, or the window not be created (one of its controls, say).
    enum class OpenFailure { None, Template, Window };
    OpenFailure LastOpenFailure() const { return m_openFailure; }
    // The platform's error code for it (0 when it gave none).
    DWORD LastOpenError() const { return m_openError; }

    // TRUE: controls -> members (may fail, after telling the user);
    // FALSE: members -> controls. Control notifications sent meanwhile are
    // ignored, so filling a field never reaches its change handler.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    virtual BOOL OnInitDialog();
    BOOL PreTranslateMessage(MSG* msg) override;

    UINT m_nIDHelp = 0;

    // IDOK, IDCANCEL and the help command, from a button, a menu or an
    // accelerator.
    static const MessageMap<CDialog, 3> kMessageMap;

protected:
    virtual void DoDataExchange(CDataExchange*) {}
    virtual void OnOK();
    virtual void OnCancel();
    void OnHelp();
    LRESULT WindowProc(UINT msg, WPARAM w, LPARAM l) override;

    // Hands each control of the template its initialisation data from the
    // dialog-init resource of the same ID.
    void ExecuteDlgInit();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK InitDialogProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
    void RunModalLoop();
    void ShowNow();
    BOOL PreTranslateGuarded(MSG* msg);

    bool m_inModal = false;
    bool m_endModal = false;
    int m_nModalResult = -1;
    bool m_lockoutNotify = false;
    bool m_templateAtOrigin = false;
    OpenFailure m_openFailure = OpenFailure::None;
    DWORD m_openError = 0;
};

class CDataExchange {
public:
    CDataExchange(CDialog* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog)
    {}

    BOOL m_bSaveAndValidate;
    CDialog* m_pDlgWnd;

    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    // After the user has been told: focus the offending control, select its
    // text, and stop the exchange.
    [[noreturn]] void Fail();

private:
    HWND m_hWndLastControl = nullptr;
    bool m_bEditLastControl = false;
};

// Binds (subclasses) a control to its object on the first exchange.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// Edit text <-> signed 16-bit integer; text that is not a whole number in
// range is refused with the framework's message.
void DDX_Text(CDataExchange* dx, int id, std::int16_t& value);
// Check box <-> 0/1. Loading any non-zero value shows the box checked.
void DDX_Check(CDataExchange* dx, int id, int& value);

// The dialog-init resource type.
inline constexpr WORD kRtDlgInit = FW_RT_DLGINIT;

} // namespace fw
