// The single instance: a second start ends even when the first instance's
// window no longer answers.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "ui/instance.h"
#include "ui/ui_handles.h"

using namespace kelvane;

TEST(SingleInstance, AHungFirstInstanceDoesNotHangTheSecond) {
  const std::string mutexName = "KelvaneTestHung-" + std::to_string(GetCurrentProcessId());
  const char* hungClass = "KelvaneHungMarker";
  ScopedKernelHandle ready(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  ScopedKernelHandle release(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  bool stillHung = false;
  // A window whose thread stops answering, for at most 20 s.
  std::thread hung([&] {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = hungClass;
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowExA(0, hungClass, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                        windowClass.hInstance, nullptr);
    SetEvent(ready.Get());
    stillHung = WaitForSingleObject(release.Get(), 20000) == WAIT_OBJECT_0;
    DestroyWindow(window);
  });
  WaitForSingleObject(ready.Get(), 5000);
  ScopedKernelHandle first;
  ScopedKernelHandle second;
  EXPECT_FALSE(HandOverToRunningInstance(first, mutexName, hungClass, 200)) << "the first start";
  EXPECT_TRUE(HandOverToRunningInstance(second, mutexName, hungClass, 200)) << "the second ends";
  SetEvent(release.Get());
  hung.join();
  EXPECT_TRUE(stillHung) << "the second start came back while the first still hung";
}
