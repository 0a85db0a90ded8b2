#pragma once
// Failures that stop the operation under way. They never cross a window
// procedure: CWnd's dispatch catches them and tells the user.
#include <windows.h>
#include <oaidl.h>

#include <exception>
#include <string>
#include <type_traits>
#include <utility>

namespace fw {

class CException : public std::exception {
public:
    const char* what() const noexcept override { return "fw::CException"; }
    // The text shown to the user; empty when the user has been told already.
    virtual std::wstring Describe() const = 0;
};

// Thrown after the user has been told (e.g. a number field that does not
// parse): only unwinds the operation.
class CUserException : public CException {
public:
    std::wstring Describe() const override { return {}; }
};

// A hosted control refused a property put or method call.
class COleDispatchException : public CException {
public:
    COleDispatchException(HRESULT hr, DISPID dispid, std::wstring description = {})
        : m_scError(hr), m_dispid(dispid), m_strDescription(std::move(description))
    {}
    std::wstring Describe() const override;

    HRESULT m_scError;
    DISPID m_dispid;
    std::wstring m_strDescription;
};

// A resource the program needs could not be loaded or instantiated.
class CResourceException : public CException {
public:
    explicit CResourceException(UINT id) : m_id(id) {}
    std::wstring Describe() const override;
    UINT m_id;
};

// Shows the failure to the user (unless it was reported already). Repeats of
// the same failure while its message is still open are not shown twice.
void ReportException(const std::exception& e) noexcept;
void ReportUnknownException() noexcept;

// The one boundary that no C++ exception crosses (window procedures, dialog
// initialisation, pre-translation): runs `call`; a failure is shown to the
// user and `fallback` answered instead.
template <class F, class R = std::invoke_result_t<F>>
    requires(!std::is_void_v<R>)
R CallReporting(F&& call, R fallback)
noexcept
{
    try {
        return std::forward<F>(call)();
    } catch (const std::exception& e) {
        ReportException(e);
    } catch (...) {
        ReportUnknownException();
    }
    return fallback;
}

template <class F>
void CallReporting(F&& call) noexcept
{
    CallReporting(
        [&] {
            std::forward<F>(call)();
            return true;
        },
        false);
}

} // namespace fw
