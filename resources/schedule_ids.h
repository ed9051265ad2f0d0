#pragma once
// Identifiers of the scheduled tasks strip on the home page and the update offer.
// Included by resource_ids.h.

// Scheduled tasks strip: per job (cleanup, defragmentation, backup) a check
// box, its label and the button that shows and edits the task's times.
#define IDC_SCHEDULE_FIX_CHECK 1041
#define IDC_SCHEDULE_DEFRAG_CHECK 1080
#define IDC_SCHEDULE_BACKUP_CHECK 1081
#define IDC_SCHEDULE_FIX_LABEL 1072
#define IDC_SCHEDULE_DEFRAG_LABEL 1073
#define IDC_SCHEDULE_BACKUP_LABEL 1074
#define IDC_SCHEDULE_FIX_BUTTON 1000
#define IDC_SCHEDULE_DEFRAG_BUTTON 1006
#define IDC_SCHEDULE_BACKUP_BUTTON 1002
#define IDC_SCHEDULE_TITLE 1800
