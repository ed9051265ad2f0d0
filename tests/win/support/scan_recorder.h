#pragma once
// A real window on the test thread that records the scan messages it gets.
#include <windows.h>

#include <string>
#include <vector>

#include "scan/scan_issue.h"

class ScanRecorder {
 public:
  ScanRecorder();
  ~ScanRecorder();
  ScanRecorder(const ScanRecorder&) = delete;
  ScanRecorder& operator=(const ScanRecorder&) = delete;

  HWND window() const { return window_; }
  // Points all three handles of `context` at this window.
  void Attach(ScanContext& context) const;

  std::vector<ScanIssue> issues;         // copies of WM_SCAN_ISSUE records
  std::vector<std::string> currentKeys;  // WM_SCAN_CURRENT_KEY texts
  std::vector<int> progress;             // WM_SCAN_PROGRESS values
  std::vector<WPARAM> wParams;           // every wParam received (all must be 0)

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND window_ = nullptr;
};
