#pragma once
// A real window on the test thread that records the scan messages it gets.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/scan_issue.h"

namespace kelvane {

class ScanRecorder {
 public:
  ScanRecorder() {
    static WNDCLASSA wc = {0,       Record,  0,       0,       GetModuleHandleA(nullptr),
                           nullptr, nullptr, nullptr, nullptr, "KelvaneTestScanRecorder"};
    static const ATOM windowClass = RegisterClassA(&wc);
    window_ = CreateWindowExA(0, MAKEINTATOM(windowClass), "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(window_, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~ScanRecorder() { DestroyWindow(window_); }
  ScanRecorder(const ScanRecorder&) = delete;
  ScanRecorder& operator=(const ScanRecorder&) = delete;

  HWND window() const { return window_; }

  void Attach(ScanContext& context) const {
    context.hwndCurrentKey = context.hwndIssues = context.hwndProgress = window_;
  }

  std::vector<ScanIssue> issues;  // copies of WM_SCAN_ISSUE records
  std::vector<WPARAM> wParams;    // every wParam received (all must be 0)

 private:
  static LRESULT CALLBACK Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Scan messages come only once the constructor has stored `this`.
    auto* self = reinterpret_cast<ScanRecorder*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_SCAN_ISSUE)
      self->issues.push_back(*reinterpret_cast<const ScanIssue*>(lParam));
    else if (message != WM_SCAN_CURRENT_KEY && message != WM_SCAN_PROGRESS)
      return DefWindowProcA(window, message, wParam, lParam);
    self->wParams.push_back(wParam);
    return 0;
  }

  HWND window_ = nullptr;
};

}  // namespace kelvane
