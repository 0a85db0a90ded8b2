#pragma once
// Owners for the values OLE Automation hands around: a BSTR, a VARIANT and
// the strings of an EXCEPINFO, each freed on every path.
#include <windows.h>
#include <oaidl.h>
#include <oleauto.h>

#include <string>
#include <utility>

namespace fw {

class Bstr {
public:
    Bstr() = default;
    ~Bstr() { ::SysFreeString(m_s); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    // For out-parameters: frees what is held first.
    BSTR* put() noexcept
    {
        ::SysFreeString(std::exchange(m_s, nullptr));
        return &m_s;
    }
    explicit operator bool() const noexcept { return m_s != nullptr; }
    std::wstring str() const { return m_s ? std::wstring(m_s, ::SysStringLen(m_s)) : std::wstring(); }

private:
    BSTR m_s = nullptr;
};

// A VARIANT that clears itself: whatever it holds (a string, a reference)
// is its own.
class Variant {
public:
    Variant() noexcept { ::VariantInit(&m_v); }
    ~Variant() { ::VariantClear(&m_v); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    VARIANT* get() noexcept { return &m_v; }
    const VARIANT* get() const noexcept { return &m_v; }

private:
    VARIANT m_v;
};

// The strings a failed IDispatch::Invoke may fill in.
struct ExcepInfo {
    EXCEPINFO info{};
    ExcepInfo() = default;
    ~ExcepInfo()
    {
        ::SysFreeString(info.bstrSource);
        ::SysFreeString(info.bstrDescription);
        ::SysFreeString(info.bstrHelpFile);
    }
    ExcepInfo(const ExcepInfo&) = delete;
    ExcepInfo& operator=(const ExcepInfo&) = delete;
};

} // namespace fw
