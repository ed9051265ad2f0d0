#pragma once
// Identifiers of the program's resources: dialog templates, their controls
// and the icon. The .rc file and the windows share them.

#define IDI_KELVANE 101

// Main window; the help button keeps the fixed id 9.
#define IDD_MAIN 200
#define IDC_HELP_BUTTON 9

// About box.
#define IDD_ABOUT 210
#define IDC_ABOUT_ICON 1100
#define IDC_ABOUT_PRODUCT 1101
#define IDC_ABOUT_LICENCE 1102

// Language chooser.
#define IDD_LANGUAGE 220
#define IDC_LANGUAGE_LIST 1200
#define IDC_LANGUAGE_FLAG 1201
