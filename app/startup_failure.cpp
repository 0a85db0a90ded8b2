#include "app/startup_failure.h"

#include "framework/app.h"
#include "framework/startup_report.h"
#include "resources/resource.h"

#include <cwchar>
#include <string_view>
#include <iterator>

namespace {

// The step's sentence has one "%ls" where the error code goes; it is put in
// by hand, so that a damaged string resource can never make a format read
// arguments that are not there.
constexpr std::wstring_view kCodeMark = L"%ls";

const StartupText kStepTexts[] = {
    {IDS_STARTUP_OLE, L"OLE konnte nicht initialisiert werden%ls."},
    {IDS_STARTUP_GRID_CLASS, L"Die Fensterklasse der Kalenderanzeige konnte nicht registriert werden%ls."},
    {IDS_STARTUP_COMMON_CONTROLS, L"Die Standardsteuerelemente von Windows konnten nicht geladen werden%ls."},
    {IDS_STARTUP_WINDOW_TEMPLATE, L"Die Vorlage des Kalenderfensters fehlt oder ist beschädigt%ls."},
    {IDS_STARTUP_WINDOW, L"Das Kalenderfenster konnte nicht erstellt werden%ls."},
    {IDS_STARTUP_WINDOW_SETUP, L"Das Kalenderfenster konnte nicht eingerichtet werden%ls."},
    {IDS_STARTUP_WORKER, L"Für den Start konnte kein Thread angelegt werden%ls."},
};
static_assert(std::size(kStepTexts) ==
              static_cast<int>(StartupStep::Worker) - static_cast<int>(StartupStep::Ole) + 1);

std::wstring Load(const StartupText& text)
{
    std::wstring loaded = fw::AfxLoadString(text.id);
    // A sentence that lost its mark is as damaged as one that is missing.
    const bool wantsMark = std::wstring_view(text.builtIn).find(kCodeMark) != std::wstring_view::npos;
    if (loaded.empty() || (wantsMark && loaded.find(kCodeMark) == std::wstring::npos))
        return text.builtIn;
    return loaded;
}

std::wstring CodeText(const StartupError& error)
{
    if (error.code == 0)
        return {};
    wchar_t buf[32];
    // HRESULTs read best in hex, Win32 error codes as the decimal numbers
    // their documentation lists.
    if (error.step == StartupStep::Ole)
        std::swprintf(buf, std::size(buf), L" (Fehler 0x%08lX)", static_cast<unsigned long>(error.code));
    else
        std::swprintf(buf, std::size(buf), L" (Fehler %lu)", static_cast<unsigned long>(error.code));
    return buf;
}

} // namespace

const StartupText kStartupEnds{IDS_STARTUP_ENDS, L"Das Programm wird beendet."};

const StartupText& StartupStepText(StartupStep step)
{
    const int i = static_cast<int>(step) - static_cast<int>(StartupStep::Ole);
    return kStepTexts[i >= 0 && i < static_cast<int>(std::size(kStepTexts)) ? i : 0];
}

std::wstring StartupFailureMessage(const StartupError& error)
{
    std::wstring text = Load(StartupStepText(error.step));
    text.replace(text.find(kCodeMark), kCodeMark.size(), CodeText(error));
    return text + L"\n\n" + Load(kStartupEnds);
}

int ReportStartupFailure(const StartupError& error)
{
    fw::ReportStartupFailure(StartupFailureMessage(error));
    return static_cast<int>(error.step);
}
