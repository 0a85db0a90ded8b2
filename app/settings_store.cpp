#include "app/settings_store.h"

#include "core/logfont_record.h"
#include "core/profile_values.h"
#include "framework/app.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <string_view>

namespace {

fw::CWinApp& App() { return *fw::AfxGetApp(); }

static_assert(sizeof(LOGFONTA) == core::kLogFontSize, "the record is the ANSI LOGFONT");
static_assert(sizeof(LOGFONTA::lfFaceName) == core::kFaceNameSize);

LOGFONTA ToLogFont(const core::LogFontRecord& r)
{
    LOGFONTA lf{};
    lf.lfHeight = r.height;
    lf.lfWidth = r.width;
    lf.lfEscapement = r.escapement;
    lf.lfOrientation = r.orientation;
    lf.lfWeight = r.weight;
    lf.lfItalic = r.italic;
    lf.lfUnderline = r.underline;
    lf.lfStrikeOut = r.strikeOut;
    lf.lfCharSet = r.charSet;
    lf.lfOutPrecision = r.outPrecision;
    lf.lfClipPrecision = r.clipPrecision;
    lf.lfQuality = r.quality;
    lf.lfPitchAndFamily = r.pitchAndFamily;
    // Cut at the field's end: GDI and the chooser read the name as a C
    // string and would otherwise run past the record looking for its end.
    const std::string_view face = core::FaceNameBytes(r);
    std::memcpy(lf.lfFaceName, face.data(), std::min(face.size(), sizeof lf.lfFaceName - 1));
    return lf;
}

core::LogFontRecord ToRecord(const LOGFONTA& lf)
{
    core::LogFontRecord r;
    r.height = lf.lfHeight;
    r.width = lf.lfWidth;
    r.escapement = lf.lfEscapement;
    r.orientation = lf.lfOrientation;
    r.weight = lf.lfWeight;
    r.italic = lf.lfItalic;
    r.underline = lf.lfUnderline;
    r.strikeOut = lf.lfStrikeOut;
    r.charSet = lf.lfCharSet;
    r.outPrecision = lf.lfOutPrecision;
    r.clipPrecision = lf.lfClipPrecision;
    r.quality = lf.lfQuality;
    r.pitchAndFamily = lf.lfPitchAndFamily;
    std::memcpy(r.faceName.data(), lf.lfFaceName, core::kFaceNameSize);
    return r;
}

} // namespace

int SettingsStore::ReadInt(const wchar_t* section, const wchar_t* key, int defaultValue)
{
    return App().GetProfileInt(section, key, defaultValue);
}

int SettingsStore::ReadInt(const core::SettingKey& key)
{
    return ReadInt(key.section, key.name, key.defaultValue);
}

std::vector<int> SettingsStore::ReadInts(std::initializer_list<const core::SettingKey*> keys)
{
    std::vector<int> values;
    values.reserve(keys.size());
    Sections stored;
    for (const core::SettingKey* key : keys)
        values.push_back(stored.Int(*key));
    return values;
}

const std::optional<std::wstring>& SettingsStore::Sections::Of(const wchar_t* section)
{
    auto it = std::find_if(m_read.begin(), m_read.end(),
                           [&](const auto& s) { return std::wcscmp(s.first, section) == 0; });
    if (it == m_read.end()) {
        m_read.emplace_back(section, App().GetProfileSection(section));
        it = std::prev(m_read.end());
    }
    return it->second;
}

int SettingsStore::Sections::Int(const core::SettingKey& key)
{
    const auto& section = Of(key.section);
    if (!section)
        return ReadInt(key);
    const auto text = core::FindSectionValue(*section, key.name);
    return (text ? core::ParseInt32(*text) : std::nullopt).value_or(key.defaultValue);
}

std::wstring SettingsStore::Sections::Text(const core::SettingKey& key)
{
    const auto& section = Of(key.section);
    if (!section)
        return ReadString(key);
    const auto text = core::FindSectionValue(*section, key.name);
    return text ? std::wstring(*text) : std::wstring();
}

bool SettingsStore::WriteInt(const wchar_t* section, const wchar_t* key, int value)
{
    return App().WriteProfileInt(section, key, value) != FALSE;
}

bool SettingsStore::WriteInt(const core::SettingKey& key, int value)
{
    return WriteInt(key.section, key.name, value);
}

std::optional<std::vector<std::uint8_t>> SettingsStore::ReadBinary(const wchar_t* section, const wchar_t* key)
{
    return App().GetProfileBinary(section, key);
}

bool SettingsStore::WriteBinary(const wchar_t* section, const wchar_t* key, const void* data,
                                std::size_t size)
{
    return App().WriteProfileBinary(section, key, data, size) != FALSE;
}

std::wstring SettingsStore::ReadString(const core::SettingKey& key)
{
    return App().GetProfileString(key.section, key.name, L"");
}

bool SettingsStore::WriteString(const core::SettingKey& key, std::wstring_view value)
{
    const std::wstring text(value);
    return App().WriteProfileString(key.section, key.name, text.c_str()) != FALSE;
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
    using core::keys::kLogFont;
    if (const auto bytes = ReadBinary(kLogFont.section, kLogFont.name)) {
        if (const auto record = core::DecodeStoredFont(*bytes))
            return ToLogFont(*record);
    }
    return DefaultLogFont();
}

bool SettingsStore::WriteLogFont(const LOGFONTA& font)
{
    using core::keys::kLogFont;
    const auto bytes = core::EncodeLogFont(ToRecord(font));
    return WriteBinary(kLogFont.section, kLogFont.name, bytes.data(), bytes.size());
}
