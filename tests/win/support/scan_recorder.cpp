#include "support/scan_recorder.h"

#include <gtest/gtest.h>

namespace {
constexpr const char* kRecorderClass = "KelvaneTestScanRecorder";
}

ScanRecorder::ScanRecorder() {
  static ATOM registered = [] {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &ScanRecorder::Procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kRecorderClass;
    return RegisterClassA(&wc);
  }();
  EXPECT_NE(registered, 0);
  window_ = CreateWindowExA(0, kRecorderClass, "", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                            GetModuleHandleA(nullptr), this);
  EXPECT_NE(window_, nullptr);
}

ScanRecorder::~ScanRecorder() {
  if (window_ != nullptr) DestroyWindow(window_);
}

void ScanRecorder::Attach(ScanContext& context) const {
  context.hwndCurrentKey = window_;
  context.hwndIssues = window_;
  context.hwndProgress = window_;
}

LRESULT CALLBACK ScanRecorder::Procedure(HWND window, UINT message, WPARAM wParam,
                                         LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<ScanRecorder*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self != nullptr) {
    switch (message) {
      case WM_SCAN_ISSUE:
        self->wParams.push_back(wParam);
        self->issues.push_back(*reinterpret_cast<const ScanIssue*>(lParam));
        return 0;
      case WM_SCAN_CURRENT_KEY:
        self->wParams.push_back(wParam);
        self->currentKeys.push_back(*reinterpret_cast<const std::string*>(lParam));
        return 0;
      case WM_SCAN_PROGRESS:
        self->wParams.push_back(wParam);
        self->progress.push_back(static_cast<int>(lParam));
        return 0;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
