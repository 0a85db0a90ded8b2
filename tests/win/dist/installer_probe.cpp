// What Windows itself reports about an installation, for the installer test
// script, one answer per line (UTF-8, fields separated by tabs):
//   installer_probe products UPGRADECODE
//       each installed product of that upgrade code, as "Apps" lists it:
//       product code, name, version, publisher, product icon, 1 or 0 for
//       whether that icon file exists
//   installer_probe link FILE.lnk
//       the shortcut's target, working folder and arguments
//   installer_probe version FILE
//       the file version of FILE's version resource, "a.b.c.d"
// Exit code 0 on success, 1 when the question cannot be answered.
#include <windows.h>
#include <msi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <string>

namespace {

void Print(const std::wstring& line)
{
    const std::wstring text = line + L"\n";
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                        nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), n, nullptr,
                          nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

std::wstring ProductInfo(const wchar_t* product, const wchar_t* property)
{
    DWORD size = 0;
    wchar_t empty[1] = {};
    UINT rc = ::MsiGetProductInfoW(product, property, empty, &size);
    if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA)
        return L"?";
    std::wstring value(size + 1, L'\0');
    size = static_cast<DWORD>(value.size());
    if (::MsiGetProductInfoW(product, property, value.data(), &size) != ERROR_SUCCESS)
        return L"?";
    value.resize(size);
    return value;
}

int Products(const wchar_t* upgradeCode)
{
    for (DWORD i = 0;; ++i) {
        wchar_t product[39] = {};
        const UINT rc = ::MsiEnumRelatedProductsW(upgradeCode, 0, i, product);
        if (rc == ERROR_NO_MORE_ITEMS)
            return 0;
        if (rc != ERROR_SUCCESS) {
            std::fprintf(stderr, "MsiEnumRelatedProducts: %u\n", rc);
            return 1;
        }
        const std::wstring icon = ProductInfo(product, INSTALLPROPERTY_PRODUCTICON);
        const bool iconExists = ::GetFileAttributesW(icon.c_str()) != INVALID_FILE_ATTRIBUTES;
        Print(std::wstring(product) + L"\t" + ProductInfo(product, INSTALLPROPERTY_INSTALLEDPRODUCTNAME) +
              L"\t" + ProductInfo(product, INSTALLPROPERTY_VERSIONSTRING) + L"\t" +
              ProductInfo(product, INSTALLPROPERTY_PUBLISHER) + L"\t" + icon + L"\t" +
              (iconExists ? L"1" : L"0"));
    }
}

int Link(const wchar_t* path)
{
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;
    int result = 1;
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t target[MAX_PATH] = {}, folder[MAX_PATH] = {}, args[1024] = {};
            // SLGP_RAWPATH: the target as stored, not resolved against what
            // happens to exist now.
            if (SUCCEEDED(file->Load(path, STGM_READ)) &&
                SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
                SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH)) &&
                SUCCEEDED(link->GetArguments(args, 1024))) {
                Print(std::wstring(target) + L"\t" + folder + L"\t" + args);
                result = 0;
            }
            file->Release();
        }
        link->Release();
    }
    ::CoUninitialize();
    return result;
}

int Version(const wchar_t* path)
{
    const DWORD size = ::GetFileVersionInfoSizeW(path, nullptr);
    if (size == 0)
        return 1;
    std::string data(size, '\0');
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!::GetFileVersionInfoW(path, 0, size, data.data()) ||
        !::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
        return 1;
    Print(std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
          std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
          std::to_wstring(HIWORD(fixed->dwFileVersionLS)) + L"." +
          std::to_wstring(LOWORD(fixed->dwFileVersionLS)));
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 3 && std::wstring(argv[1]) == L"products")
        return Products(argv[2]);
    if (argc == 3 && std::wstring(argv[1]) == L"link")
        return Link(argv[2]);
    if (argc == 3 && std::wstring(argv[1]) == L"version")
        return Version(argv[2]);
    std::fprintf(stderr, "usage: installer_probe products UPGRADECODE | link FILE.lnk | version FILE\n");
    return 2;
}
