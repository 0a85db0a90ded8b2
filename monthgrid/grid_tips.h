#pragma once
// The grid's tooltips, shown by the platform's tooltip control: one tool
// per rectangle that has something to say (a holiday's day, a week
// number), its text asked for when the tip shows (TTN_GETDISPINFO to the
// grid). The tools are made anew whenever what the grid shows moves under
// them; a tip on show goes with its tool, and a resting mouse gets the tip
// of whatever is under it now once the tooltip's usual delay has passed.
//
// The tooltip window is made at the first mouse message the grid relays,
// so a grid nobody points at costs nothing, and it is destroyed with the
// grid.
#include <windows.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "core/holidays.h"

namespace monthgrid {

// What one tool is about.
struct TipItem {
    enum class Kind { Holiday, Week };
    RECT rect;
    Kind kind;
    std::chrono::sys_days day; // the holiday, or a day of the week
};

// Everything the tools' rectangles and meanings depend on: equal keys,
// equal tools.
struct TipsKey {
    std::chrono::sys_days firstShown{};
    int columns = 0;
    int rows = 0;
    bool showWeekNumbers = false;
    bool showHolidays = false;
    core::Region region = core::Region::Nationwide;
    unsigned fontGeneration = 0;
    int dpi = 0;
    bool operator==(const TipsKey&) const = default;
};

class GridTips {
public:
    GridTips() = default;
    ~GridTips() { Destroy(); }
    GridTips(const GridTips&) = delete;
    GridTips& operator=(const GridTips&) = delete;

    // Makes the tooltip window for `grid` (once); false when it cannot.
    bool Create(HWND grid);
    void Destroy();
    HWND Window() const { return m_tip; }

    // A mouse message of the grid, for the tooltip to follow the pointer.
    void Relay(HWND grid, UINT msg, WPARAM w, LPARAM l) const;

    // Whether the tools were made for `key`.
    bool Current(const TipsKey& key) const { return m_made && key == m_key; }
    // Replaces every tool by one per item.
    void Replace(HWND grid, const TipsKey& key, std::vector<TipItem> items);

    // The item of a tool, or null.
    const TipItem* ItemOf(UINT_PTR toolId) const;
    // Keeps a tip's text for the tooltip to copy.
    const wchar_t* Hold(std::wstring text)
    {
        m_text = std::move(text);
        return m_text.c_str();
    }

private:
    HWND m_tip = nullptr;
    TipsKey m_key;
    bool m_made = false;
    std::vector<TipItem> m_items; // tool i + 1 is item i
    std::wstring m_text;
};

} // namespace monthgrid
