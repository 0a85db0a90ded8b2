// Resource identifiers, grouped by kind. Included by Morvelin.rc and by C++.
#pragma once

// Dialog templates
#define IDD_ABOUTBOX 100
#define IDD_MORVELIN_DIALOG 102
#define IDD_PARAMETER 131
#define IDD_HOLIDAYS 140

// Menus
#define IDR_CONTEXT_MENU 134

// Icons
#define IDR_MAINFRAME 128

// Strings
#define IDS_ABOUTBOX 101
#define IDS_PARAMETER 102
#define IDS_PRODUCT_TOO_LARGE 103
#define IDS_REFRESH 104
#define IDS_CAPTION 105
#define IDS_SHORT_CLOCK 106
// The holidays' texts live in a string block of their own (IDs 192..207),
// so that the block of 101..106 stays as it is.
#define IDS_HOLIDAYS 200
#define IDS_HOLIDAYS_NONE 201
#define IDS_HOLIDAYS_NATIONWIDE 202
#define IDS_HOLIDAYS_OF_YEAR 203
// Start-up failures (a block of their own, from 300)
#define IDS_STARTUP_ENDS 300
#define IDS_STARTUP_OLE 301
#define IDS_STARTUP_GRID_CLASS 302
#define IDS_STARTUP_COMMON_CONTROLS 303
#define IDS_STARTUP_WINDOW_TEMPLATE 304
#define IDS_STARTUP_WINDOW 305
#define IDS_STARTUP_WINDOW_SETUP 306
#define IDS_STARTUP_WORKER 307

// Commands (system-menu ones are multiples of 16 below 0xF000)
#define IDM_ABOUTBOX 16
#define IDM_PARAMETER 32
#define IDM_REFRESH 48
#define ID_PROGRAM_END 40001
#define ID_MINIMIZE 40002
// Added to the context menu at run time, below "Parameter ...".
#define IDM_HOLIDAYS 40003

// Controls
#define IDC_COLUMNS 1001
#define IDC_ROWS 1002
#define IDC_FONT 1003
#define IDC_MONTHVIEW 1005
#define IDC_FORECOLOR 1008
#define IDC_STANDARD_COLORS 1009
#define IDC_MONTHBACKCOLOR 1010
#define IDC_TITLEBACKCOLOR 1011
#define IDC_TITLEFORECOLOR 1012
#define IDC_TRAILINGFORECOLOR 1013
#define IDC_WEEKNUMBERS 1014
#define IDC_HOLIDAY_REGION 1015
#define IDC_HOLIDAY_COLOR 1016
#define IDC_HOLIDAY_YEAR 1017
#define IDC_HOLIDAY_LIST 1018
