#pragma once
// Identifiers of the backup page and the partial backups window.
// Included by resource_ids.h.

// Backup page: the start button keeps 1000, which the main window presses
// for the home page's backup panel.
#define IDC_BACKUP_START 1000
#define IDC_BACKUP_HEADING 1500
#define IDC_BACKUP_LIST 1501
#define IDC_BACKUP_RESTORE 1502
#define IDC_BACKUP_DELETE 1503
#define IDC_BACKUP_AUTO_DELETE 1504
#define IDC_BACKUP_DAYS_LABEL 1505
#define IDC_BACKUP_DAYS 1506
#define IDC_BACKUP_DAYS_SPIN 1507
#define IDC_BACKUP_PARTIAL 1508

// Partial backups window: the list, its commands and a status line; Close
// is IDCANCEL.
#define IDD_PARTIAL_BACKUPS 216
#define IDC_PARTIAL_LIST 1520
#define IDC_PARTIAL_RESTORE 1521
#define IDC_PARTIAL_DELETE 1522
#define IDC_PARTIAL_OPEN_FOLDER 1523
#define IDC_PARTIAL_STATUS 1524
