#pragma once
// The settings store: one per-user profile, read afresh by every reader and
// written one key at a time by every writer. No cache, no settings object.
// It shows nothing: a write answers whether it reached the profile, and the
// user action that wrote tells the user once (parameters/).
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings_keys.h"

class SettingsStore {
public:
    static int ReadInt(const wchar_t* section, const wchar_t* key, int defaultValue);
    static int ReadInt(const core::SettingKey& key);
    // Several integer keys at once, each section read once; every value is
    // what ReadInt would answer for its key.
    static std::vector<int> ReadInts(std::initializer_list<const core::SettingKey*> keys);
    // Keys read a section at a time, each section once: what a layout pass
    // reads. Every value is what ReadInt or ReadString would answer for its
    // key; a section that cannot be read whole is read key by key.
    class Sections {
    public:
        int Int(const core::SettingKey& key);
        std::wstring Text(const core::SettingKey& key);

    private:
        // The section's "name=value" entries; none when it cannot be read whole.
        const std::optional<std::wstring>& Of(const wchar_t* section);
        std::vector<std::pair<const wchar_t*, std::optional<std::wstring>>> m_read;
    };
    // False when the value did not reach the profile (read-only, a folder,
    // not reachable); the profile is then left as it was.
    static bool WriteInt(const wchar_t* section, const wchar_t* key, int value);
    static bool WriteInt(const core::SettingKey& key, int value);
    // The record, or none when absent or not valid hex text.
    static std::optional<std::vector<std::uint8_t>> ReadBinary(const wchar_t* section, const wchar_t* key);
    static bool WriteBinary(const wchar_t* section, const wchar_t* key, const void* data, std::size_t size);
    // Text keys: the stored text, empty when absent (their default).
    static std::wstring ReadString(const core::SettingKey& key);
    static bool WriteString(const core::SettingKey& key, std::wstring_view value);

    // The calendar font by the fallback rule: the stored record when it
    // decodes as a font (core::DecodeStoredFont: exactly 60 bytes, a
    // plausible height; the face name cut at its field), otherwise the
    // default GUI font's description, or the system font's; none when
    // neither stock font exists.
    static std::optional<LOGFONTA> ReadLogFont();
    static bool WriteLogFont(const LOGFONTA& font);
    // The stock fonts' description alone.
    static std::optional<LOGFONTA> DefaultLogFont();
};
