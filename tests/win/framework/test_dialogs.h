#pragma once
#define IDD_PROBE 900
#define IDC_PROBE_EDIT 901
#define IDC_PROBE_CHECK 902
#define IDC_PROBE_BUTTON 903
