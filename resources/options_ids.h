#pragma once
// Identifiers of the options page, the exclusion dialogs and the registry path picker.
// Included by resource_ids.h.

// Options page: the two backup switches and the day count keep their fixed
// ids; the cards' headings, texts and buttons follow.
#define IDC_OPT_AUTO_DELETE 1011
#define IDC_OPT_BACKUP_WHEN_CLEAN 1041
#define IDC_OPT_DAYS 1049
#define IDC_OPT_DAYS_SPIN 1050
#define IDC_OPT_BACKUP_HEADING 1700
#define IDC_OPT_DAYS_LABEL 1701
#define IDC_OPT_EXCL_HEADING 1702
#define IDC_OPT_EXCL_COUNT 1703
#define IDC_OPT_EXCL_BUTTON 1704
#define IDC_OPT_LOOK_HEADING 1705
#define IDC_OPT_LANGUAGE_LABEL 1706
#define IDC_OPT_LANGUAGE_FLAG 1707
#define IDC_OPT_LANGUAGE_TITLE 1708
#define IDC_OPT_LANGUAGE_BUTTON 1709
#define IDC_OPT_SKIN_LABEL 1710
#define IDC_OPT_SKIN_NAME 1711
#define IDC_OPT_SKIN_BUTTON 1712

// Exclusion list.
#define IDD_EXCLUSIONS 1720
#define IDC_EXCL_LABEL 1721
#define IDC_EXCL_LIST 1722
#define IDC_EXCL_ADD 1723
#define IDC_EXCL_REMOVE 1724
#define IDC_EXCL_DEFAULTS 1725

// Registry path picker.
#define IDD_PATH_PICKER 1740
#define IDC_PICKER_ICON 1741
#define IDC_PICKER_HEADING 1742
#define IDC_PICKER_BY_TREE 1743
#define IDC_PICKER_TREE 1744
#define IDC_PICKER_BY_TEXT 1745
#define IDC_PICKER_TEXT 1746
#define IDC_PICKER_EXAMPLE 1747

// Skin chooser.
#define IDD_SKIN 1760
#define IDC_SKIN_LIST 1761
