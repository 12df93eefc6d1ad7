// The dialog template of tests/win/window_win_test.cpp.
#pragma once

#define IDD_TrampolineProbe 100
#define IDC_TrampolineProbe_button 101
