#pragma once
// Templates of the window tests, beside the program's own (resources/).
#define IDD_TEST_DIALOG 900
#define IDC_TEST_BUTTON 1003
