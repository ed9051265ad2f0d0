#pragma once
// Identifiers of the program's resources: dialog templates, their controls
// and the icon. The .rc file and the windows share them.

#define IDI_KELVANE 101

// Main window; the help button keeps the fixed id 9.
#define IDD_MAIN 200
#define IDC_HELP_BUTTON 9
// Its navigation buttons, one per page, and the page area the pages lie in.
#define IDC_NAV_HOME 1000
#define IDC_NAV_SCAN 1002
#define IDC_NAV_DEFRAG 1003
#define IDC_NAV_BACKUP 1004
#define IDC_PAGE_AREA 1005
#define IDC_NAV_OPTIONS 1006

// Pages: page n gets the window id IDC_PAGE_FIRST + n inside the page area;
// a page's title is IDC_PAGE_TITLE.
#define IDD_PAGE_HOME 240
#define IDD_PAGE_SCAN 241
#define IDD_PAGE_DEFRAG 242
#define IDD_PAGE_BACKUP 243
#define IDD_PAGE_OPTIONS 244
#define IDC_PAGE_FIRST 1290
#define IDC_PAGE_TITLE 1300

// Home page: panel p (cleanup, defragmentation, backup) has the controls
// IDC_HOME_PANEL_FIRST + p * IDC_HOME_PANEL_STRIDE + title 0, status 1,
// advice 2, button 3.
#define IDC_HOME_PANEL_FIRST 1310
#define IDC_HOME_PANEL_STRIDE 10
#define IDC_HOME_FIX_TITLE 1310
#define IDC_HOME_FIX_STATUS 1311
#define IDC_HOME_FIX_ADVICE 1312
#define IDC_HOME_FIX_BUTTON 1313
#define IDC_HOME_DEFRAG_TITLE 1320
#define IDC_HOME_DEFRAG_STATUS 1321
#define IDC_HOME_DEFRAG_ADVICE 1322
#define IDC_HOME_DEFRAG_BUTTON 1323
#define IDC_HOME_BACKUP_TITLE 1330
#define IDC_HOME_BACKUP_STATUS 1331
#define IDC_HOME_BACKUP_ADVICE 1332
#define IDC_HOME_BACKUP_BUTTON 1333

// Scan page: the start view and the result view.
#define IDC_SCAN_START 1000
#define IDC_SCAN_STOP 1022
#define IDC_SCAN_FIX 1023
#define IDC_SCAN_AREAS_LINK 1045
#define IDC_SCAN_START_LINK 1046
#define IDC_SCAN_BACK 1051
#define IDC_SCAN_INTRO 1340
#define IDC_SCAN_LAST 1341
#define IDC_SCAN_LIST 1342
#define IDC_SCAN_PROGRESS 1343
#define IDC_SCAN_CURRENT_KEY 1344
#define IDC_SCAN_STATUS 1345

// About box.
#define IDD_ABOUT 210
#define IDC_ABOUT_ICON 1100
#define IDC_ABOUT_PRODUCT 1101
#define IDC_ABOUT_LICENCE 1102

// Language chooser.
#define IDD_LANGUAGE 220
#define IDC_LANGUAGE_LIST 1200
#define IDC_LANGUAGE_FLAG 1201

// Scan areas.
#define IDD_AREAS 230
#define IDC_AREA_LABEL 1300
#define IDC_AREA_LIST 1301
#define IDC_AREA_DEFAULTS 1302

// Wait window: a message, a progress bar and a cancel button (IDCANCEL).
#define IDD_WAIT 209
#define IDC_WAIT_MESSAGE 1400
#define IDC_WAIT_PROGRESS 1401

// Issue detail pop-up: five labelled lines and three buttons (close is IDCANCEL).
#define IDD_ISSUE_DETAIL 214
#define IDC_DETAIL_REGEDIT 1034
#define IDC_DETAIL_COPY 1035
#define IDC_DETAIL_ROOT_LABEL 1410
#define IDC_DETAIL_KEY_LABEL 1411
#define IDC_DETAIL_VALUE_LABEL 1412
#define IDC_DETAIL_DATA_LABEL 1413
#define IDC_DETAIL_PROBLEM_LABEL 1414
#define IDC_DETAIL_ROOT 1415
#define IDC_DETAIL_KEY 1416
#define IDC_DETAIL_VALUE 1417
#define IDC_DETAIL_DATA 1418
#define IDC_DETAIL_PROBLEM 1419

// Areas added page by page.
#include "defrag_ids.h"
#include "backup_ids.h"
#include "options_ids.h"
#include "schedule_ids.h"
