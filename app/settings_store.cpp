#include "app/settings_store.h"

#include "core/logfont_record.h"
#include "framework/app.h"
#include "framework/texts.h"

#include <cstring>
#include <cwchar>
#include <string>

namespace {

fw::CWinApp& App() { return *fw::AfxGetApp(); }

void ReportWriteFailure()
{
    const std::wstring& path = App().m_profilePath;
    std::wstring text(std::wcslen(fw::texts::kProfileWriteFailed) + path.size() + 16, L'\0');
    const int n = std::swprintf(text.data(), text.size(), fw::texts::kProfileWriteFailed, path.c_str());
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    fw::AfxMessageBox(text, MB_OK | MB_ICONWARNING);
}

static_assert(sizeof(LOGFONTA) == core::kLogFontSize, "the record is the ANSI LOGFONT");

} // namespace

int SettingsStore::ReadInt(const wchar_t* section, const wchar_t* key, int defaultValue)
{
    return App().GetProfileInt(section, key, defaultValue);
}

int SettingsStore::ReadInt(const core::SettingKey& key)
{
    return ReadInt(key.section, key.name, key.defaultValue);
}

void SettingsStore::WriteInt(const wchar_t* section, const wchar_t* key, int value)
{
    if (!App().WriteProfileInt(section, key, value))
        ReportWriteFailure();
}

void SettingsStore::WriteInt(const core::SettingKey& key, int value)
{
    WriteInt(key.section, key.name, value);
}

std::optional<std::vector<std::uint8_t>> SettingsStore::ReadBinary(const wchar_t* section,
                                                                   const wchar_t* key)
{
    return App().GetProfileBinary(section, key);
}

void SettingsStore::WriteBinary(const wchar_t* section, const wchar_t* key, const void* data,
                                std::size_t size)
{
    if (!App().WriteProfileBinary(section, key, data, size))
        ReportWriteFailure();
}

std::optional<LOGFONTA> SettingsStore::DefaultLogFont()
{
    for (int stock : {DEFAULT_GUI_FONT, SYSTEM_FONT}) {
        HGDIOBJ font = ::GetStockObject(stock);
        LOGFONTA lf{};
        if (font && ::GetObjectA(font, sizeof lf, &lf) == sizeof lf)
            return lf;
    }
    return std::nullopt;
}

std::optional<LOGFONTA> SettingsStore::ReadLogFont()
{
    const auto record = ReadBinary(core::keys::kLogFont.section, core::keys::kLogFont.name);
    if (record && record->size() == core::kLogFontSize) {
        LOGFONTA lf;
        std::memcpy(&lf, record->data(), sizeof lf);
        return lf;
    }
    return DefaultLogFont();
}
