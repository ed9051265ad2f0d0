#pragma once
// Identifiers of the defragmentation page and its windows.
// Included by resource_ids.h.

// Page: its start button keeps the id the main window presses.
#define IDC_DEFRAG_START 1000
#define IDC_DEFRAG_INTRO 1600
#define IDC_DEFRAG_LAST 1601

// Result window: what the compact copies save, and the replacement.
#define IDD_DEFRAG_RESULT 211
#define IDC_RESULT_SAVED 1008
#define IDC_RESULT_AFTER 1009
#define IDC_RESULT_FREED 1010
#define IDC_RESULT_ADVICE 1011
#define IDC_RESULT_BAR 1014
#define IDC_RESULT_REPLACE 1602

// The screen-wide overlay that fades in while the registry is analysed.
#define IDD_DEFRAG_OVERLAY 212
