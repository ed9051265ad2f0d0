#pragma once
// Templates of the window tests, beside the program's own (resources/).
#define IDD_TEST_DIALOG 900
#define IDD_TEST_PAGE 901
#define IDC_TEST_LABEL 1001
#define IDC_TEST_PLAIN 1002
#define IDC_TEST_BUTTON 1003
