#pragma once
// The steps of the program's start-up that can fail, what the user is told
// when one does, and the exit code that it ends with.
#include <windows.h>

#include <optional>
#include <string>

// Each step's value is the program's exit code when that step fails (1 is
// what Wine's loader gives a program that it could not start at all).
enum class StartupStep : int {
    Ole = 2,            // OLE for the month view's dispatch calls and font objects
    GridClass = 3,      // the month grid's window class
    CommonControls = 4, // the common controls
    WindowTemplate = 5, // the calendar window's dialog template
    Window = 6,         // creating the calendar window
    WindowSetup = 7,    // the calendar window's own initialisation
    Worker = 8,         // the start-up worker thread
};

struct StartupError {
    StartupStep step;
    // The platform's error: an HRESULT for OLE, a Win32 error code
    // otherwise; 0 when the platform gave none.
    DWORD code = 0;
};

// The program texts that make up a failure's message: their string
// resources and the text built in for when the resources themselves fail.
struct StartupText {
    UINT id;
    const wchar_t* builtIn;
};
// The closing sentence of every failure message.
extern const StartupText kStartupEnds;
const StartupText& StartupStepText(StartupStep step);

// What the user is told, e.g. "Das Kalenderfenster konnte nicht erstellt
// werden (Fehler 1400).\n\nDas Programm wird beendet."
std::wstring StartupFailureMessage(const StartupError& error);

// Tells the user (fw::ReportStartupFailure) and answers the exit code.
int ReportStartupFailure(const StartupError& error);
