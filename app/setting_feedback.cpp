#include "app/setting_feedback.h"

#include "framework/app.h"
#include "framework/texts.h"
#include "framework/wnd.h"

#include <cwchar>
#include <string>

void NotifyCalendar(UINT message)
{
    fw::CWnd* main = fw::AfxGetMainWnd();
    if (main && main->GetSafeHwnd())
        main->SendMessage(message, 0, 0);
}

void ReportSaveFailure()
{
    const std::wstring& path = fw::AfxGetApp()->m_profilePath;
    std::wstring text(std::wcslen(fw::texts::kProfileWriteFailed) + path.size() + 16, L'\0');
    const int n = std::swprintf(text.data(), text.size(), fw::texts::kProfileWriteFailed, path.c_str());
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    fw::AfxMessageBox(text, MB_OK | MB_ICONWARNING);
}
