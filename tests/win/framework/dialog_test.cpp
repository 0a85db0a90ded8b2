// Modal dialogs, their own loop, and dialog data exchange.
#include "framework/app.h"
#include "framework/dialog.h"
#include "support/modal_driver.h"
#include "support/test_support.h"
#include "test_dialogs.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class ProbeDialog : public fw::WithMessageMap<ProbeDialog, fw::CDialog> {
public:
    ProbeDialog() : WithMessageMap(IDD_PROBE) {}

    std::int16_t m_number = 0;
    int m_check = 0;
    int changes = 0;
    int keyDowns = 0;
    bool visibleAtFirstKey = true;
    std::function<void(ProbeDialog&)> onInit;

    static const fw::MessageMap<ProbeDialog, 1> kMessageMap;

    BOOL OnInitDialog() override
    {
        fw::CDialog::OnInitDialog();
        if (onInit)
            onInit(*this);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN && msg->wParam == VK_F5) {
            if (keyDowns++ == 0)
                visibleAtFirstKey = IsWindowVisible();
        }
        return fw::CDialog::PreTranslateMessage(msg);
    }
    void OnChange() { ++changes; }

protected:
    void DoDataExchange(fw::CDataExchange* dx) override
    {
        fw::DDX_Text(dx, IDC_PROBE_EDIT, m_number);
        fw::DDX_Check(dx, IDC_PROBE_CHECK, m_check);
    }
};

decltype(ProbeDialog::kMessageMap) ProbeDialog::kMessageMap{
    fw::OnControl<EN_CHANGE, IDC_PROBE_EDIT, &ProbeDialog::OnChange>(),
};

std::wstring EditText(HWND dialog) { return testsupport::WindowText(::GetDlgItem(dialog, IDC_PROBE_EDIT)); }

} // namespace

TEST(DoModal, PostedKeysPassPreTranslateBeforeTheDialogIsShown)
{
    ProbeDialog dlg;
    dlg.onInit = [](ProbeDialog& d) {
        d.PostMessage(WM_KEYDOWN, VK_F5, 0);
        d.PostMessage(WM_KEYDOWN, VK_F5, 0);
    };
    testsupport::ModalDriver driver;
    driver.Then([](HWND dialog) { ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.keyDowns, 2);
    // The window appears once the queue runs dry, after the posted keys.
    EXPECT_FALSE(dlg.visibleAtFirstKey);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(DoModal, OwnerIsDisabledWhileOpenAndActiveAgainAfter)
{
    ProbeDialog outer;
    fw::AfxGetApp()->m_pMainWnd = &outer;
    bool innerOwnerDisabled = false;
    HWND innerOwner = nullptr;
    testsupport::ModalDriver driver;
    driver.Then([&](HWND) {
        ProbeDialog inner;
        inner.onInit = [&](ProbeDialog& d) {
            innerOwner = ::GetWindow(d.m_hWnd, GW_OWNER);
            innerOwnerDisabled = !::IsWindowEnabled(outer.m_hWnd);
        };
        inner.DoModal();
        EXPECT_TRUE(::IsWindowEnabled(outer.m_hWnd));
        outer.EndDialog(7);
    });
    driver.Then([](HWND inner) { ::PostMessageW(inner, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(outer.DoModal(), 7);
    fw::AfxGetApp()->m_pMainWnd = nullptr;
    EXPECT_TRUE(innerOwnerDisabled);
    EXPECT_NE(innerOwner, nullptr);
    EXPECT_TRUE(driver.Unexpected().empty());
}

TEST(DoModal, EnterWithFocusInAnEditIsTheOkCommand)
{
    ProbeDialog dlg;
    dlg.m_number = 12;
    testsupport::ModalDriver driver;
    driver.Then([](HWND dialog) {
        HWND edit = ::GetDlgItem(dialog, IDC_PROBE_EDIT);
        ::SetFocus(edit);
        ::PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    });
    // OnOK takes the data, then ends the dialog.
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_number, 12);
}

TEST(DoModal, DialogPlacedAtOriginOpensCentredOverItsOwner)
{
    ProbeDialog outer;
    fw::AfxGetApp()->m_pMainWnd = &outer;
    RECT ownerRect{}, innerRect{};
    testsupport::ModalDriver driver;
    driver.Then([&](HWND) {
        ::SetWindowPos(outer.m_hWnd, nullptr, 300, 200, 500, 400, SWP_NOZORDER);
        ownerRect = outer.GetWindowRect();
        ProbeDialog inner;
        inner.onInit = [&](ProbeDialog&) {};
        testsupport::ModalDriver* unused = nullptr;
        (void)unused;
        inner.DoModal();
        outer.EndDialog(IDOK);
    });
    driver.Then([&](HWND inner) {
        ::GetWindowRect(inner, &innerRect);
        ::PostMessageW(inner, WM_COMMAND, IDCANCEL, 0);
    });
    outer.DoModal();
    fw::AfxGetApp()->m_pMainWnd = nullptr;
    const int ownerCx = (ownerRect.left + ownerRect.right) / 2;
    const int innerCx = (innerRect.left + innerRect.right) / 2;
    const int ownerCy = (ownerRect.top + ownerRect.bottom) / 2;
    const int innerCy = (innerRect.top + innerRect.bottom) / 2;
    EXPECT_NEAR(innerCx, ownerCx, 1);
    EXPECT_NEAR(innerCy, ownerCy, 1);
}

TEST(DataExchange, NumbersLoadSaveAndRefuseWithTheFrameworksMessage)
{
    ProbeDialog dlg;
    dlg.m_number = -32768;
    dlg.m_check = 2; // any non-zero value shows checked
    std::wstring loaded;
    LRESULT loadedCheck = -1;
    std::vector<std::wstring> messages;
    std::vector<BOOL> results;
    std::vector<std::int16_t> values;
    testsupport::ModalDriver driver;
    driver.Then([&](HWND dialog) {
        loaded = EditText(dialog);
        loadedCheck = ::SendDlgItemMessageW(dialog, IDC_PROBE_CHECK, BM_GETCHECK, 0, 0);
        for (const wchar_t* text : {L" 17 ", L"32768", L"1x", L"", L"-0", L"+32767"}) {
            ::SetDlgItemTextW(dialog, IDC_PROBE_EDIT, text);
            results.push_back(dlg.UpdateData(TRUE));
            values.push_back(dlg.m_number);
        }
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    for (int i = 0; i < 3; ++i) {
        driver.Then([&](HWND box) {
            messages.push_back(testsupport::MessageBoxText(box));
            testsupport::Click(box, IDOK);
        });
    }
    dlg.DoModal();
    EXPECT_EQ(loaded, L"-32768");
    EXPECT_EQ(loadedCheck, BST_CHECKED);
    EXPECT_EQ(results, (std::vector<BOOL>{TRUE, FALSE, FALSE, FALSE, TRUE, TRUE}));
    // A refused text leaves the member as it was.
    EXPECT_EQ(values, (std::vector<std::int16_t>{17, 17, 17, 17, 0, 32767}));
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0], L"Bitte geben Sie eine ganze Zahl zwischen -32768 und 32767 ein.");
    EXPECT_EQ(dlg.m_check, 1);
    EXPECT_TRUE(driver.Unexpected().empty());
}

TEST(DataExchange, FillingTheControlsDoesNotReachChangeHandlers)
{
    ProbeDialog dlg;
    int changesAfterLoad = -1, changesAfterTyping = -1;
    testsupport::ModalDriver driver;
    driver.Then([&](HWND dialog) {
        dlg.m_number = 5;
        dlg.UpdateData(FALSE);
        changesAfterLoad = dlg.changes;
        testsupport::TypeText(dialog, IDC_PROBE_EDIT, L"6");
        changesAfterTyping = dlg.changes;
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    dlg.DoModal();
    EXPECT_EQ(changesAfterLoad, 0);
    EXPECT_EQ(changesAfterTyping, 1);
}

TEST(DataExchange, DialogInitDataReachesItsControl)
{
    ProbeDialog dlg;
    LRESULT limit = 0;
    testsupport::ModalDriver driver;
    driver.Then([&](HWND dialog) {
        limit = ::SendDlgItemMessageW(dialog, IDC_PROBE_EDIT, EM_GETLIMITTEXT, 0, 0);
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    dlg.DoModal();
    EXPECT_EQ(limit, 4);
}
