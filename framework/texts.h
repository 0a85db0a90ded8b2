#pragma once
// The framework's own user-facing texts. They belong to the framework, not
// to the program's string table, as the platform's messages would.
namespace fw::texts {

inline constexpr const wchar_t* kParseInt16 =
    L"Bitte geben Sie eine ganze Zahl zwischen -32768 und 32767 ein.";
inline constexpr const wchar_t* kDispatchRefused =
    L"Die Kalenderanzeige hat eine Einstellung nicht angenommen (Fehler 0x%08lX, Eigenschaft %ld).\n\n"
    L"Der Vorgang wurde abgebrochen.";
inline constexpr const wchar_t* kResourceMissing =
    L"Eine Programmressource (Nummer %u) fehlt oder ist beschädigt.";
inline constexpr const wchar_t* kUnexpected =
    L"Ein unerwarteter Fehler ist aufgetreten. Der Vorgang wurde abgebrochen.";
inline constexpr const wchar_t* kProfileWriteFailed =
    L"Die Einstellung konnte nicht gespeichert werden.\n\n"
    L"Die Datei \u201E%ls\u201C ist schreibgeschützt oder nicht erreichbar.";

} // namespace fw::texts
