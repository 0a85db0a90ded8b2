#include "monthgrid/grid_tips.h"

#include <commctrl.h>

namespace monthgrid {

namespace {

// Wide enough for the longest week text and holiday names on one line;
// more wraps.
constexpr int kMaxTipWidth = 480;

TTTOOLINFOW ToolInfo(HWND grid, UINT_PTR id)
{
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = grid;
    ti.uId = id;
    return ti;
}

} // namespace

bool GridTips::Create(HWND grid)
{
    if (m_tip)
        return true;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    // Owned by the grid's top-level window (a popup's parent is its owner);
    // shown whether or not that window is active, as a desktop calendar
    // usually is not.
    m_tip =
        ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, grid, nullptr,
                          reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(grid, GWLP_HINSTANCE)), nullptr);
    if (!m_tip)
        return false;
    ::SendMessageW(m_tip, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
    m_made = false;
    m_items.clear();
    return true;
}

void GridTips::Destroy()
{
    // The grid's top-level window may have taken it along already.
    if (m_tip && ::IsWindow(m_tip))
        ::DestroyWindow(m_tip);
    m_tip = nullptr;
    m_made = false;
    m_items.clear();
}

void GridTips::Relay(HWND grid, UINT msg, WPARAM w, LPARAM l) const
{
    if (!m_tip)
        return;
    const DWORD pos = ::GetMessagePos();
    MSG m{grid,
          msg,
          w,
          l,
          static_cast<DWORD>(::GetMessageTime()),
          {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))}};
    ::SendMessageW(m_tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
}

void GridTips::Replace(HWND grid, const TipsKey& key, std::vector<TipItem> items)
{
    if (!m_tip)
        return;
    // The tip on show talks about what was under the pointer before.
    ::SendMessageW(m_tip, TTM_POP, 0, 0);
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        TTTOOLINFOW ti = ToolInfo(grid, i + 1);
        ::SendMessageW(m_tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    m_items = std::move(items);
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        TTTOOLINFOW ti = ToolInfo(grid, i + 1);
        ti.rect = m_items[i].rect;
        ti.lpszText = LPSTR_TEXTCALLBACKW;
        ::SendMessageW(m_tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    m_key = key;
    m_made = true;

    // A pointer resting on the grid: the tooltip looks at what is under it
    // now, as if it had just moved there.
    POINT cursor{};
    if (::GetCursorPos(&cursor) && ::WindowFromPoint(cursor) == grid) {
        POINT client = cursor;
        ::ScreenToClient(grid, &client);
        MSG m{grid,  WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y), static_cast<DWORD>(::GetMessageTime()),
              cursor};
        ::SendMessageW(m_tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
    }
}

const TipItem* GridTips::ItemOf(UINT_PTR toolId) const
{
    if (toolId == 0 || toolId > m_items.size())
        return nullptr;
    return &m_items[toolId - 1];
}

} // namespace monthgrid
