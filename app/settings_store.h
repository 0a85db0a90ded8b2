#pragma once
// The settings store: one per-user profile, read afresh by every reader and
// written one key at a time by every writer. No cache, no settings object.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "core/settings_keys.h"

// Sent (synchronously) to the main window after a setting was written.
inline constexpr UINT WM_FONT_CHANGED = WM_USER + 1;     // "LogFont" was written
inline constexpr UINT WM_SETTINGS_CHANGED = WM_USER + 2; // any other key was written

class SettingsStore {
public:
    static int ReadInt(const wchar_t* section, const wchar_t* key, int defaultValue);
    static int ReadInt(const core::SettingKey& key);
    // A write that does not reach the file is reported to the user: a
    // setting is never lost silently.
    static void WriteInt(const wchar_t* section, const wchar_t* key, int value);
    static void WriteInt(const core::SettingKey& key, int value);
    // The record, or none when absent or not valid hex text.
    static std::optional<std::vector<std::uint8_t>> ReadBinary(const wchar_t* section,
                                                               const wchar_t* key);
    static void WriteBinary(const wchar_t* section, const wchar_t* key, const void* data,
                            std::size_t size);

    // The calendar font by the fallback rule: the stored record when it is
    // exactly 60 bytes, otherwise the default GUI font's description, or the
    // system font's; none when neither stock font exists.
    static std::optional<LOGFONTA> ReadLogFont();
    // The stock fonts' description alone (the chooser's fallback start).
    static std::optional<LOGFONTA> DefaultLogFont();
};
