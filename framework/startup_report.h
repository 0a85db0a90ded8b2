#pragma once
// Telling the user that the program cannot start. At that point there may
// be no window to show anything in (the desktop itself can be unusable),
// so the text goes wherever it can still be read.
#include <windows.h>

#include <string>
#include <string_view>

namespace fw {

// Where a report reached.
enum ReportedTo : unsigned {
    kReportedNowhere = 0,
    kReportedInBox = 1,
    kReportedOnStandardError = 2,
};

// Shows `text` in a message box captioned with the application's name; where
// no box can be shown, writes it as one line, prefixed with that name, to
// standard error. Always writes that line to the debug output
// (OutputDebugStringW).
unsigned ReportStartupFailure(const std::wstring& text) noexcept;

// `text` as one line: paragraphs and line breaks become single blanks.
std::wstring OneLine(std::wstring_view text);

// Writes `line` and a line break to standard error: UTF-16 to a console,
// UTF-8 to a file or pipe. A windowed program has a standard error handle
// only when its starter handed one down (redirected output; Wine passes its
// own on); otherwise the console of the process that started it is used, if
// it has one. False when there is neither.
bool WriteStandardError(std::wstring_view line) noexcept;

} // namespace fw
