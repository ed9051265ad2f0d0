// The main window shell: title, icons, size and place, the skin, the help
// menu with the about box, and the close that ends the message loop.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "modal_driver.h"
#include "resource_ids.h"
#include "ui/main_window.h"
#include "ui/main_window_layout.h"
#include "ui/message_loop.h"
#include "ui/skin_folder.h"
#include "ui/skin_image.h"
#include "ui/ui_handles.h"
#include "ui/window_geometry.h"
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

TEST(MainWindow, TheHelpMenuOffersLanguageThenAboutAndEscapeEndsTheLoop) {
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
    for (int down = 0; down < 2; ++down) PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 1);
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
  EXPECT_EQ(menu, (std::vector<std::string>{"Language...", "", "About Kelvane"}))
      << "language chooser, a separator, the about box";
  EXPECT_EQ(menuPlace.left, button.left) << "the menu opens at the button's left";
  EXPECT_EQ(menuPlace.top, button.bottom) << "below the button";
  EXPECT_EQ(about, "About Kelvane|Kelvane v3.0|MIT License|OK") << "the about box's texts";
  EXPECT_TRUE(aboutHasIcon) << "the about box shows the icon";
  EXPECT_EQ(code, 0) << "Escape closes normally";
  EXPECT_EQ(main.window(), nullptr) << "the window is gone with the loop";
}
