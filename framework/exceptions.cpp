#include "framework/exceptions.h"

#include "framework/app.h"
#include "framework/texts.h"

#include <cwchar>

namespace fw {
namespace {

// True while a failure message is on screen: a failure that repeats inside
// that message box's own loop (a timer, the start-up worker) is not stacked
// on top of it.
bool g_reporting = false;

void Show(const std::wstring& text) noexcept
{
    if (text.empty() || g_reporting)
        return;
    g_reporting = true;
    try {
        AfxMessageBox(text, MB_OK | MB_ICONERROR);
    } catch (...) {
    }
    g_reporting = false;
}

} // namespace

std::wstring COleDispatchException::Describe() const
{
    if (!m_strDescription.empty())
        return m_strDescription;
    wchar_t buf[512];
    std::swprintf(buf, std::size(buf), texts::kDispatchRefused, static_cast<unsigned long>(m_scError),
                  static_cast<long>(m_dispid));
    return buf;
}

std::wstring CResourceException::Describe() const
{
    wchar_t buf[256];
    std::swprintf(buf, std::size(buf), texts::kResourceMissing, m_id);
    return buf;
}

void ReportException(const std::exception& e) noexcept
{
    if (const auto* fwe = dynamic_cast<const CException*>(&e)) {
        try {
            Show(fwe->Describe());
        } catch (...) {
        }
        return;
    }
    Show(texts::kUnexpected);
}

void ReportUnknownException() noexcept { Show(texts::kUnexpected); }

} // namespace fw
