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
    // The sections read so far, by name (a layout pass asks two).
    std::vector<std::pair<const wchar_t*, std::optional<std::wstring>>> sections;
    for (const core::SettingKey* key : keys) {
        auto it = std::find_if(sections.begin(), sections.end(),
                               [&](const auto& s) { return std::wcscmp(s.first, key->section) == 0; });
        if (it == sections.end()) {
            sections.emplace_back(key->section, App().GetProfileSection(key->section));
            it = std::prev(sections.end());
        }
        // A section that could not be read whole is read key by key.
        if (!it->second) {
            values.push_back(ReadInt(*key));
            continue;
        }
        const auto text = core::FindSectionValue(*it->second, key->name);
        const auto value = text ? core::ParseInt32(*text) : std::nullopt;
        values.push_back(value.value_or(key->defaultValue));
    }
    return values;
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
