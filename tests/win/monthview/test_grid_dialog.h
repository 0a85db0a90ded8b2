#pragma once
#define IDD_GRID_PROBE 910
#define IDC_GRID_LOADED 911
#define IDC_GRID_BAD_RECORD 912
