// Writes the calendar window's dialog-init data: one record that hands the
// month grid (control IDC_MONTHVIEW of dialog IDD_MORVELIN_DIALOG) its start
// state, built from the settings' defaults, so that a default changes in
// one place only (core/settings_keys.h).
//
//   make_dlginit OUTPUT
//
// The data is a list of records, each: WORD control ID, WORD message, DWORD
// byte count, then the bytes; a WORD 0 ends the list. The dialog framework
// sends each record's bytes to its control while the dialog initialises.
#include "core/monthgrid_state.h"
#include "core/settings_keys.h"
#include "resource.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

core::MonthGridState StartState()
{
    using namespace core::keys;
    core::MonthGridState s;
    // One month until the first layout pass gives the grid the stored shape.
    s.columns = 1;
    s.rows = 1;
    s.flags = kWeekNumbers.defaultValue != 0 ? core::MonthGridState::kShowWeekNumbers : 0;
    s.foreColor = static_cast<std::uint32_t>(kForeColor.defaultValue);
    s.monthBackColor = static_cast<std::uint32_t>(kMonthBackColor.defaultValue);
    // The layout pass puts the month background around the months as well.
    s.backColor = s.monthBackColor;
    s.titleBackColor = static_cast<std::uint32_t>(kTitleBackColor.defaultValue);
    s.titleForeColor = static_cast<std::uint32_t>(kTitleForeColor.defaultValue);
    s.trailingForeColor = static_cast<std::uint32_t>(kTrailingForeColor.defaultValue);
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_dlginit OUTPUT\n");
        return 2;
    }
    const auto record = core::EncodeMonthGridState(StartState());
    std::vector<std::uint8_t> out;
    Put16(out, IDC_MONTHVIEW);
    Put16(out, core::kMonthGridLoadStateMessage);
    Put16(out, static_cast<std::uint32_t>(record.size()));
    Put16(out, static_cast<std::uint32_t>(record.size()) >> 16);
    out.insert(out.end(), record.begin(), record.end());
    Put16(out, 0); // end of the list
    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f || std::fwrite(out.data(), 1, out.size(), f) != out.size() || std::fclose(f) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
