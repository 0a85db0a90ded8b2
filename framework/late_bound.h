#pragma once
// A function of a system DLL resolved on first use. DLLs that only a rare
// path needs (the choosers, the shell's folder lookup) then stay out of the
// program's start-up; they load from the system folder only, never from
// beside the program or the current folder.
#include <windows.h>

namespace fw {

template <class F>
F LateBound(const wchar_t* dll, const char* name)
{
    HMODULE module = ::LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

} // namespace fw
