// The initial-state record a dialog's init data hands the grid.
#include <gtest/gtest.h>

#include "core/monthgrid_state.h"
#include "grid_fixture.h"

namespace {

using namespace gridtest;

using MonthGridState = GridTest;

LRESULT Load(HWND grid, const void* bytes, std::size_t length)
{
    return ::SendMessageW(grid, monthgrid::kLoadStateMessage, static_cast<WPARAM>(length),
                          reinterpret_cast<LPARAM>(bytes));
}

TEST_F(MonthGridState, AWellFormedRecordIsTaken)
{
    core::MonthGridState state;
    state.columns = 3;
    state.rows = 2;
    state.flags = 0;
    state.backColor = RGB(0x30, 0x90, 0x30);
    const auto bytes = core::EncodeMonthGridState(state);
    EXPECT_EQ(Load(grid, bytes.data(), bytes.size()), TRUE);
    const monthgrid::GridInfo info = Info(grid);
    EXPECT_EQ(info.shape, (core::GridShape{3, 2}));
    EXPECT_FALSE(info.showWeekNumbers);
    FitGrid(grid);
    EXPECT_EQ(Render(grid).At(0, 0), RGB(0x30, 0x90, 0x30));
}

TEST_F(MonthGridState, AnythingElseIsIgnoredAndTheDefaultsStay)
{
    core::MonthGridState state;
    state.columns = 4;
    state.rows = 3;
    auto bytes = core::EncodeMonthGridState(state);
    EXPECT_EQ(Load(grid, nullptr, bytes.size()), FALSE);
    EXPECT_EQ(Load(grid, bytes.data(), bytes.size() - 1), FALSE);
    // A length far beyond the bytes: refused before anything is read.
    EXPECT_EQ(Load(grid, bytes.data(), static_cast<std::size_t>(-1)), FALSE);
    auto badMagic = bytes;
    badMagic[0] ^= 0xFF;
    EXPECT_EQ(Load(grid, badMagic.data(), badMagic.size()), FALSE);
    auto badFlags = bytes;
    badFlags[11] = 0x80;
    EXPECT_EQ(Load(grid, badFlags.data(), badFlags.size()), FALSE);
    const monthgrid::GridInfo info = Info(grid);
    EXPECT_EQ(info.shape, (core::GridShape{1, 1}));
    EXPECT_TRUE(info.showWeekNumbers);
    // Counts beyond the rule pass through the clamp like any put.
    state.columns = -7;
    state.rows = 30000;
    bytes = core::EncodeMonthGridState(state);
    EXPECT_EQ(Load(grid, bytes.data(), bytes.size()), TRUE);
    EXPECT_EQ(Info(grid).shape, core::ClampGrid(-7, 30000));
}

TEST_F(MonthGridState, InfoNeedsItsSize)
{
    monthgrid::GridInfo info;
    info.cbSize = 4;
    EXPECT_EQ(::SendMessageW(grid, monthgrid::kGetInfoMessage, 0, reinterpret_cast<LPARAM>(&info)), FALSE);
    EXPECT_EQ(::SendMessageW(grid, monthgrid::kGetInfoMessage, 0, 0), FALSE);
}

} // namespace
