// The main window shell: title, icons, size and place, the skin, the header's
// buttons, the help menu with the help page and the about box, the close
// that ends the message loop, and the single instance: the marker window
// and the hand-over of a second start.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "foundation/language_table.h"
#include "foundation/registry_path.h"
#include "modal_driver.h"
#include "resource_ids.h"
#include "support/registry_sandbox.h"
#include "ui/help_menu.h"
#include "ui/instance.h"
#include "ui/main_window.h"
#include "ui/main_window_layout.h"
#include "ui/message_loop.h"
#include "ui/skin_folder.h"
#include "ui/skin_image.h"
#include "ui/ui_handles.h"
#include "ui/window_geometry.h"
#include "ui/window_messages.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

constexpr UINT kMenuGetHandle = 0x01E1;  // MN_GETHMENU

RECT ClientRectOf(HWND window) {
  RECT rect = {};
  GetClientRect(window, &rect);
  return rect;
}

// `control`'s rectangle in its parent's client coordinates.
RECT PlaceOf(HWND control) {
  RECT rect = {};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::vector<std::string> MenuTexts(HMENU menu) {
  std::vector<std::string> texts;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[256] = "";
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    texts.push_back(text);  // a separator reads ""
  }
  return texts;
}

}  // namespace

TEST(SkinFolder, AnEmptySkinNameTakesTheSkinFolderOrElseTheShippedDefault) {
  ScratchFolder program;
  EXPECT_EQ(SkinFolderPath(program.path(), "Blue"), program / "Skin\\Blue") << "a named skin";
  EXPECT_EQ(SkinFolderPath(program.path(), ""), program / "Skin") << "no skin installed at all";
  program.MakeFolder("Skin\\Default");
  EXPECT_EQ(SkinFolderPath(program.path(), ""), program / "Skin\\Default")
      << "Skin holds no main.bmp: the shipped skin";
  program.WriteFile("Skin\\main.bmp");
  EXPECT_EQ(SkinFolderPath(program.path(), ""), program / "Skin") << "Skin has pictures of its own";
}

TEST(MainWindow, HasTheProductTitleItsIconsItsSkinSizeAndTheHelpButtonAtTheTopRight) {
  GdiplusScope gdiplus;
  ProgramFolder program(true);
  MainWindow main(program.path());
  const HWND window = main.Create(nullptr);
  ASSERT_NE(window, nullptr) << "the template exists";
  EXPECT_EQ(WindowTextOf(window), "Kelvane v3.0") << "product name and version";
  EXPECT_NE(SendMessageA(window, WM_GETICON, ICON_BIG, 0), 0) << "a large icon";
  EXPECT_NE(SendMessageA(window, WM_GETICON, ICON_SMALL, 0), 0) << "a small icon";
  const RECT client = ClientRectOf(window);
  EXPECT_EQ(client.right, kMainClientWidth) << "client width of main.bmp";
  EXPECT_EQ(client.bottom, kMainClientHeight) << "client height of main.bmp";

  RECT frame;
  GetWindowRect(window, &frame);
  const RECT work = WorkArea();
  EXPECT_LE(std::abs((frame.left + frame.right) - (work.left + work.right)), 1) << "centred across";
  EXPECT_LE(std::abs((frame.top + frame.bottom) - (work.top + work.bottom)), 1) << "centred down";

  const HWND help = main.Item(IDC_HELP_BUTTON);
  ASSERT_NE(help, nullptr) << "the help button is control 9";
  EXPECT_EQ(WindowTextOf(help), "Help") << "its caption key is translated";
  const RECT place = PlaceOf(help);
  EXPECT_EQ(place.right, kMainClientWidth - kHelpButtonRightMargin) << "at the right";
  EXPECT_EQ(place.top, kHelpButtonTop) << "at the top";
  EXPECT_LE(place.bottom, kNavButtonTop) << "above the row of the navigation buttons";
  EXPECT_FALSE(IsWindowVisible(window)) << "shown only by its caller";

  // The skin's background reaches the screen: a pixel of the page area.
  ShowWindow(window, SW_SHOWNA);
  UpdateWindow(window);
  const ScopedBitmap skin = LoadSkinBitmap(program.path() + "\\Skin\\Default", "main.bmp");
  ASSERT_TRUE(skin.IsValid()) << "the shipped main.bmp loads";
  const HDC screen = GetDC(window);
  ScopedMemoryDc memory(CreateCompatibleDC(screen));
  SelectedObject picture(memory.Get(), skin.Get());
  EXPECT_EQ(GetPixel(screen, 20, 300), GetPixel(memory.Get(), 20, 300)) << "main.bmp is drawn";
  ReleaseDC(window, screen);
}

TEST(MainWindow, WithoutSkinPicturesItStillWorks) {
  GdiplusScope gdiplus;
  ProgramFolder program;  // no Skin folder
  MainWindow main(program.path());
  ASSERT_NE(main.Create(nullptr), nullptr) << "made without pictures";
  ShowWindow(main.window(), SW_SHOWNA);
  UpdateWindow(main.window());
  EXPECT_NE(main.Item(IDC_HELP_BUTTON), nullptr) << "the help button is there";
  EXPECT_EQ(ClientRectOf(main.window()).right, kMainClientWidth) << "same size";
}

TEST(MainWindow, TheHelpMenuOffersTheHelpPageLanguageAndAboutAndEscapeEndsTheLoop) {
  GdiplusScope gdiplus;
  ProgramFolder program(true);
  MainWindow main(program.path());
  ASSERT_NE(main.Create(nullptr), nullptr);
  ShowWindow(main.window(), SW_SHOW);
  const HWND window = main.window();
  const HWND help = main.Item(IDC_HELP_BUTTON);
  RECT button;
  GetWindowRect(help, &button);

  std::vector<std::string> menu;
  RECT menuPlace = {};
  std::string about;  // caption|product line|licence line|OK
  bool aboutHasIcon = false;
  ModalDriver driver([&](ModalDriver& d) {
    PostMessageA(help, BM_CLICK, 0, 0);
    const HWND popup = d.WaitForWindow("#32768", "");
    if (popup == nullptr) return;
    menu = MenuTexts(reinterpret_cast<HMENU>(SendMessageA(popup, kMenuGetHandle, 0, 0)));
    GetWindowRect(popup, &menuPlace);
    for (int down = 0; down < 3; ++down) PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 1);
    PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 1);
    const HWND box = d.WaitForWindow("#32770", "About Kelvane");
    if (box == nullptr) return;
    about = WindowTextOf(box) + "|" + WindowTextOf(GetDlgItem(box, IDC_ABOUT_PRODUCT)) + "|" +
            WindowTextOf(GetDlgItem(box, IDC_ABOUT_LICENCE)) + "|" +
            WindowTextOf(GetDlgItem(box, IDOK));
    aboutHasIcon = SendDlgItemMessageA(box, IDC_ABOUT_ICON, STM_GETICON, 0, 0) != 0;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    if (!d.WaitUntilGone(box)) return;
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 1);  // through the dialog manager
  });
  const int code = RunMessageLoop(window);
  driver.Finish();
  EXPECT_TRUE(driver.ok()) << driver.report();
  EXPECT_EQ(menu, (std::vector<std::string>{"Online Help", "", "Language...", "", "About Kelvane"}))
      << "the help page, the language chooser, the about box, with separators";
  EXPECT_EQ(menuPlace.left, button.left) << "the menu opens at the button's left";
  EXPECT_EQ(menuPlace.top, button.bottom) << "below the button";
  EXPECT_EQ(about, "About Kelvane|Kelvane v3.0|MIT License|OK") << "the about box's texts";
  EXPECT_TRUE(aboutHasIcon) << "the about box shows the icon";
  EXPECT_EQ(code, 0) << "Escape closes normally";
  EXPECT_EQ(main.window(), nullptr) << "the window is gone with the loop";
}

namespace {

constexpr int kNavIds[] = {IDC_NAV_HOME, IDC_NAV_SCAN, IDC_NAV_DEFRAG, IDC_NAV_BACKUP,
                           IDC_NAV_OPTIONS};

// Problems of the header's layout: a navigation button out of its row, out of
// the window, over its neighbour or over the help button; "" when none.
std::string HeaderProblems(const MainWindow& main) {
  std::string problems;
  const RECT help = PlaceOf(main.Item(IDC_HELP_BUTTON));
  int previousRight = 0;
  for (int id : kNavIds) {
    const RECT place = PlaceOf(main.Item(id));
    const std::string name = "button " + std::to_string(id);
    if (place.top != kNavButtonTop || place.bottom != kNavButtonTop + kNavButtonHeight)
      problems += name + " is not in the row below the title; ";
    if (place.left < previousRight) problems += name + " overlaps its left neighbour; ";
    if (place.right > kMainClientWidth) problems += name + " leaves the window; ";
    if (place.top < help.bottom && place.right > help.left) problems += name + " meets help; ";
    previousRight = place.right;
  }
  return problems;
}

int TextWidth(HWND window, const std::string& text) {
  const HDC dc = GetDC(window);
  LOGFONTA font = {};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
  font.lfWeight = FW_BOLD;  // the captions are drawn in bold
  ScopedFont bold(CreateFontIndirectA(&font));
  SIZE size = {0, 0};
  {
    SelectedObject selected(dc, bold.Get());
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  }
  ReleaseDC(window, dc);
  return size.cx;
}

}  // namespace

TEST(MainWindow, TheNavigationButtonsStandInOneRowBelowTheTitleEachWideEnoughForItsCaption) {
  GdiplusScope gdiplus;
  ProgramFolder program(true);
  MainWindow main(program.path());
  ASSERT_NE(main.Create(nullptr), nullptr);
  EXPECT_EQ(HeaderProblems(main), "") << "English captions";
  const char* captions[] = {"Home", "Clean Registry", "Defragment Registry", "Back Up Registry",
                            "Options"};
  for (int i = 0; i < 5; ++i) {
    const HWND button = main.Item(kNavIds[i]);
    EXPECT_EQ(WindowTextOf(button), captions[i]) << "button " << kNavIds[i] << " is translated";
    const RECT place = PlaceOf(button);
    EXPECT_GE(place.right - place.left, kNavButtonWidth) << captions[i] << ": the picture's width";
    EXPECT_GE(place.right - place.left, TextWidth(button, captions[i]) + kNavPadding)
        << captions[i] << ": room for the caption";
  }
}

TEST(MainWindow, NavigationCaptionsTooLongForOneRowShareTheRowAndStayInTheWindow) {
  GdiplusScope gdiplus;
  ProgramFolder program(true);
  const std::string wordy = program.files().WriteFile(
      "Language\\Wordy.txt",
      "[String]\nL0001=Startseite mit allen Aufgaben\nL0003=Registrierung bereinigen jetzt\n"
      "L0004=Registrierung defragmentieren jetzt\nL0005=Registrierung sichern jetzt\n"
      "L0006=Einstellungen und Optionen\n");
  ProcessLanguageTable().Open(wordy, program.files() / "Language\\English.txt");
  MainWindow main(program.path());
  ASSERT_NE(main.Create(nullptr), nullptr);
  EXPECT_EQ(HeaderProblems(main), "") << "long captions";
  EXPECT_LE(PlaceOf(main.Item(IDC_NAV_OPTIONS)).right, kMainClientWidth - kNavRightMargin)
      << "the row ends at the window's margin";
}

TEST(MainWindow, TheHelpPageIsOpenedByItsFullPathWithTheProgramRegisteredForSuchPages) {
  RegistrySandbox sandbox;
  ProgramFolder program;
  const std::string page = program.files().WriteFile("Help\\Kelvane.html", "<html></html>");
  EXPECT_EQ(HelpPagePath(program.path()), page) << "Help\\Kelvane.html in the program folder";
  // A handler that only notes the file it was given.
  const std::string note = program.files() / "opened.txt";
  SetString(kClassesRoot, ".html", "", "KelvaneTestPage");
  SetString(kClassesRoot, "KelvaneTestPage\\shell\\open\\command", "",
            "C:\\windows\\system32\\cmd.exe /c echo %1> " + note);
  EXPECT_TRUE(OpenHelpPage(nullptr, program.path())) << "the page was handed on";
  std::string opened;
  for (int wait = 0; wait < 100 && opened.find('\n') == std::string::npos; ++wait) {
    Sleep(50);
    opened = ReadWholeFile(note);
  }
  EXPECT_EQ(opened.substr(0, opened.find_last_not_of(" \r\n") + 1), page)
      << "the handler got the page's full path";
}

TEST(MainWindow, AHelpPageThatCannotBeOpenedIsReported) {
  ProgramFolder program;  // no Help folder
  std::string text;
  ModalDriver driver([&](ModalDriver& d) {
    const HWND box = d.WaitForWindow("#32770", "Kelvane");
    if (box == nullptr) return;
    text = WindowTextOf(GetDlgItem(box, 0xFFFF));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  EXPECT_FALSE(OpenHelpPage(nullptr, program.path())) << "nothing was opened";
  driver.Finish();
  EXPECT_TRUE(driver.ok()) << driver.report();
  EXPECT_EQ(text, "The help page could not be opened:\r\n" + HelpPagePath(program.path()))
      << "L0229 with the page's path";
}

TEST(SingleInstance, TheMarkerWindowIsAHiddenChildThatBringsItsMainWindowBack) {
  GdiplusScope gdiplus;
  ProgramFolder program(true);
  MainWindow main(program.path());
  ASSERT_NE(main.Create(nullptr), nullptr);
  ShowWindow(main.window(), SW_SHOWMINNOACTIVE);
  ASSERT_TRUE(IsIconic(main.window())) << "minimised to begin with";

  const HWND marker = FindWindowExA(main.window(), nullptr, kMarkerWindowClass, nullptr);
  ASSERT_NE(marker, nullptr) << "the main window holds a window of the marker class";
  EXPECT_FALSE(IsWindowVisible(marker)) << "hidden";
  const RECT place = PlaceOf(marker);
  EXPECT_EQ(place.left, 0) << "at the left edge";
  EXPECT_EQ(place.top, 0) << "at the top edge";
  EXPECT_EQ(place.right, 100) << "100 pixels wide";
  EXPECT_EQ(place.bottom, 100) << "100 pixels high";
  EXPECT_EQ(GetClassLongPtrA(marker, GCL_STYLE), CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS)
      << "its class style";

  EXPECT_EQ(SendMessageA(marker, WM_SHOW_MAIN_WINDOW, 0, 0), 0) << "answered 0";
  EXPECT_FALSE(IsIconic(main.window())) << "the main window is restored";
  EXPECT_TRUE(IsWindowVisible(main.window())) << "and shown";
}

TEST(SingleInstance, TheMainWindowIsFoundByItsMarkerClassInAnyLetterCase) {
  GdiplusScope gdiplus;
  ProgramFolder program(true);
  EXPECT_EQ(FindMainWindowOfClass("KelvaneNoSuchClass"), nullptr) << "no window of the class";
  MainWindow main(program.path());
  ASSERT_NE(main.Create(nullptr), nullptr);
  const HWND marker = FindMainWindowOfClass(kMarkerWindowClass);
  EXPECT_EQ(GetParent(marker), main.window()) << "the marker inside the main window";
  EXPECT_EQ(FindMainWindowOfClass("{77b014ff-3718-4FE9-b70e-efabccd4c735}"), marker)
      << "the class is compared without letter case";

  // A top-level window of the class itself is found too.
  WNDCLASSA top = {};
  top.lpfnWndProc = DefWindowProcA;
  top.hInstance = GetModuleHandleA(nullptr);
  top.lpszClassName = "KelvaneTopLevelOfAClass";
  RegisterClassA(&top);
  const HWND window = CreateWindowExA(0, top.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr,
                                      nullptr, top.hInstance, nullptr);
  EXPECT_EQ(FindMainWindowOfClass("kelvanetoplevelofaclass"), window) << "a top-level window";
  DestroyWindow(window);
}

TEST(SingleInstance, ASecondStartHandsOverToTheFirstAndEnds) {
  GdiplusScope gdiplus;
  ProgramFolder program(true);
  const std::string mutexName = "KelvaneTestInstance-" + std::to_string(GetCurrentProcessId());
  MainWindow main(program.path());
  ASSERT_NE(main.Create(nullptr), nullptr);
  ShowWindow(main.window(), SW_SHOWMINNOACTIVE);

  ScopedKernelHandle first;
  EXPECT_FALSE(HandOverToRunningInstance(first, mutexName)) << "the first start runs";
  EXPECT_TRUE(first.IsValid()) << "and holds the mutex";
  EXPECT_TRUE(IsIconic(main.window())) << "the first start calls no window";

  ScopedKernelHandle second;
  EXPECT_TRUE(HandOverToRunningInstance(second, mutexName)) << "a second start ends";
  EXPECT_FALSE(second.IsValid()) << "without holding the mutex";
  EXPECT_FALSE(IsIconic(main.window())) << "after bringing the first window back";

  main.Destroy();
  ScopedKernelHandle early;
  EXPECT_TRUE(HandOverToRunningInstance(early, mutexName))
      << "a start while the first has no window yet ends quietly";

  first.Reset();
  ScopedKernelHandle later;
  EXPECT_FALSE(HandOverToRunningInstance(later, mutexName))
      << "once the first is gone, a start runs";
}

TEST(SingleInstance, AHungFirstInstanceDoesNotHangTheSecond) {
  const std::string mutexName = "KelvaneTestHung-" + std::to_string(GetCurrentProcessId());
  const char* hungClass = "KelvaneHungMarker";
  ScopedKernelHandle ready(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  ScopedKernelHandle release(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  bool stillHungAfterHandOver = false;
  // A window whose thread stops answering; it wakes up by itself at the latest
  // after 20 s, so that a second start that waits for it comes back too.
  std::thread hung([&] {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = hungClass;
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowExA(0, hungClass, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                        windowClass.hInstance, nullptr);
    SetEvent(ready.Get());
    stillHungAfterHandOver = WaitForSingleObject(release.Get(), 20000) == WAIT_OBJECT_0;
    DestroyWindow(window);
  });
  WaitForSingleObject(ready.Get(), 5000);

  ScopedKernelHandle first;
  ScopedKernelHandle second;
  EXPECT_FALSE(HandOverToRunningInstance(first, mutexName, hungClass, 200)) << "the first start";
  EXPECT_TRUE(HandOverToRunningInstance(second, mutexName, hungClass, 200)) << "the second ends";
  SetEvent(release.Get());
  hung.join();
  EXPECT_TRUE(stillHungAfterHandOver) << "the second start came back while the first still hung";
}
