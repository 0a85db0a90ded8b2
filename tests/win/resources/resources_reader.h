#pragma once
// Shared by the resource tests: Morvelin.exe opened as an image resource
// file (the working directory is the build directory) and a bounds-checked
// reader that takes each resource apart from its raw bytes.
#include <windows.h>

#include "framework/dialog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <ostream>
#include <span>
#include <stdexcept>
#include <string>

namespace restest {

inline constexpr WORD kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
inline constexpr WORD kRtDlgInit = fw::kRtDlgInit;

inline std::wstring ProgramPath()
{
    wchar_t path[MAX_PATH];
    ::GetFullPathNameW(L"Morvelin.exe", MAX_PATH, path, nullptr);
    return path;
}

inline HMODULE Program()
{
    static const HMODULE module = ::LoadLibraryExW(ProgramPath().c_str(), nullptr,
                                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    return module;
}

// Raw bytes of one resource in German; empty when there is none.
inline std::span<const BYTE> Raw(LPCWSTR type, LPCWSTR name)
{
    HRSRC res = ::FindResourceExW(Program(), type, name, kGerman);
    if (!res)
        return {};
    const auto* p = static_cast<const BYTE*>(::LockResource(::LoadResource(Program(), res)));
    return {p, ::SizeofResource(Program(), res)};
}

inline std::span<const BYTE> Raw(WORD type, WORD name)
{
    return Raw(MAKEINTRESOURCEW(type), MAKEINTRESOURCEW(name));
}

inline std::string Hex(DWORD value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
    return text;
}

// A string or an ordinal, as resource formats store names, classes and texts.
struct NameOrId {
    std::optional<WORD> ordinal;
    std::wstring name;
    friend bool operator==(const NameOrId&, const NameOrId&) = default;
};
inline NameOrId Text(const wchar_t* text) { return {std::nullopt, text}; }
inline NameOrId Ordinal(WORD id) { return {id, {}}; }
inline void PrintTo(const NameOrId& n, std::ostream* os)
{
    if (n.ordinal)
        *os << "ordinal " << *n.ordinal;
    else
        *os << ::testing::PrintToString(n.name);
}

// Bounds-checked little-endian reader over one resource.
class Reader {
public:
    explicit Reader(std::span<const BYTE> bytes) : m_bytes(bytes) {}
    BYTE Byte() { return Take<BYTE>(); }
    WORD Word() { return Take<WORD>(); }
    DWORD Dword() { return Take<DWORD>(); }
    short Short() { return static_cast<short>(Word()); }
    std::wstring Sz()
    {
        std::wstring s;
        for (WORD c; (c = Word()) != 0;)
            s += static_cast<wchar_t>(c);
        return s;
    }
    NameOrId SzOrOrd()
    {
        if (Peek() == 0xFFFF) {
            Word();
            return Ordinal(Word());
        }
        return Text(Sz().c_str());
    }
    WORD Peek()
    {
        const auto at = m_pos;
        const WORD w = Word();
        m_pos = at;
        return w;
    }
    void Skip(std::size_t n)
    {
        Need(n);
        m_pos += n;
    }
    // Resources start DWORD-aligned, so offsets align like addresses.
    void AlignDword() { m_pos = (m_pos + 3) & ~std::size_t{3}; }
    std::size_t Pos() const { return m_pos; }
    std::size_t Left() const { return m_pos < m_bytes.size() ? m_bytes.size() - m_pos : 0; }

private:
    void Need(std::size_t n) const
    {
        if (m_pos + n > m_bytes.size())
            throw std::out_of_range("resource ends early at byte " + std::to_string(m_pos));
    }
    template <class T>
    T Take()
    {
        Need(sizeof(T));
        T value;
        std::memcpy(&value, m_bytes.data() + m_pos, sizeof value);
        m_pos += sizeof value;
        return value;
    }
    std::span<const BYTE> m_bytes;
    std::size_t m_pos = 0;
};

class resources : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(Program(), nullptr) << "cannot open " << ::testing::PrintToString(ProgramPath())
                                      << " (tests run in the build directory)";
    }
};

} // namespace restest
