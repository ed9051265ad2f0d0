#pragma once
// One interactive instance at a time. The first interactive start owns a
// named mutex; its main window holds a hidden marker child window of a fixed
// class. A later interactive start finds the mutex taken, finds the marker
// and asks it to bring the main window forward, then ends.
#include <windows.h>

#include <string>

#include "foundation/scoped_handle.h"

namespace kelvane {

constexpr const char* kInstanceMutexName = "{9ECB471E-ADE5-4ccc-99F5-1D84DD13FF5C}";
constexpr const char* kMarkerWindowClass = "{77B014FF-3718-4fe9-B70E-EFABCCD4C735}";

// How long a second start waits for the running instance to answer: a hung
// first instance must not hang the second one too.
constexpr UINT kHandOverTimeoutMs = 5000;

// The first top-level window whose class is `className` (compared without
// letter case), or else the first descendant of a top-level window that is;
// nullptr when there is none.
HWND FindMainWindowOfClass(const std::string& className);

// Takes the instance mutex `mutexName` into `mutex` and answers false: this
// process is the interactive instance (also when no mutex could be made:
// then it runs without the rule). When another process (or an earlier call)
// holds it already, asks the window of class `markerClass` to show itself,
// waiting at most `timeoutMs`, and answers true: this start should end.
bool HandOverToRunningInstance(ScopedKernelHandle& mutex,
                               const std::string& mutexName = kInstanceMutexName,
                               const std::string& markerClass = kMarkerWindowClass,
                               UINT timeoutMs = kHandOverTimeoutMs);

// Creates the hidden marker child window inside `mainWindow`; it passes
// WM_SHOW_MAIN_WINDOW on to its parent. It goes with its parent.
HWND CreateMarkerWindow(HWND mainWindow, const char* className = kMarkerWindowClass);

}  // namespace kelvane
