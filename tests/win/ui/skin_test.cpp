// Skin pictures: loading, their opaque part, stretching with fixed corners,
// and the looks and focus cues of skinned buttons.
#include <gtest/gtest.h>

#include "support/test_paths.h"
#include "ui/controls/skin_button.h"
#include "ui/skin_image.h"
#include "ui_test_support.h"

using namespace kelvane;

namespace {

const Gdiplus::Color kCorner(255, 200, 0, 0);
const Gdiplus::Color kOtherCorner(255, 0, 0, 200);
const Gdiplus::Color kMiddle(255, 0, 160, 0);

// 12 x 12: the middle colour with two 4 x 4 corners of their own.
SkinImage CornerPicture() {
  auto picture = std::make_unique<Gdiplus::Bitmap>(12, 12, PixelFormat32bppARGB);
  Gdiplus::Graphics graphics(picture.get());
  Gdiplus::SolidBrush middle(kMiddle), corner(kCorner), otherCorner(kOtherCorner);
  graphics.FillRectangle(&middle, 0, 0, 12, 12);
  graphics.FillRectangle(&corner, 0, 0, 4, 4);
  graphics.FillRectangle(&otherCorner, 8, 8, 4, 4);
  return picture;
}

Gdiplus::ARGB PixelAt(Gdiplus::Bitmap& bitmap, int x, int y) {
  Gdiplus::Color colour;
  bitmap.GetPixel(x, y, &colour);
  return colour.GetValue();
}

}  // namespace

TEST(SkinImage, TheShippedPicturesLoadAndTheirTransparentMarginIsLeftOut) {
  GdiplusScope gdiplus;
  const std::string folder = SourcePath("package\\Skin\\Default");
  const SkinImage normal = LoadSkinImage(folder, "btn_normal.png");
  ASSERT_TRUE(normal) << "btn_normal.png loads";
  EXPECT_EQ(normal->GetWidth(), 110u) << "the navigation picture's width";
  EXPECT_EQ(normal->GetHeight(), 40u) << "the navigation picture's height";
  const Gdiplus::Rect opaque = OpaqueBounds(*normal);
  EXPECT_EQ(opaque.Y, 0) << "opaque from the top";
  EXPECT_EQ(opaque.Height, 37) << "without the 3 transparent rows below it";
  EXPECT_EQ(opaque.Width, 110) << "across the whole width";
  EXPECT_TRUE(LoadSkinBitmap(folder, "main.bmp").IsValid()) << "main.bmp loads";
  EXPECT_FALSE(LoadSkinImage(folder, "missing.png")) << "a missing picture is empty";
  EXPECT_FALSE(LoadSkinBitmap(folder, "missing.bmp").IsValid()) << "a missing bitmap is empty";

  Gdiplus::Bitmap clear(5, 5, PixelFormat32bppARGB);
  EXPECT_EQ(OpaqueBounds(clear).Width, 0) << "a wholly transparent picture has no opaque part";
}

TEST(SkinImage, StretchingKeepsTheCornersAtTheirSizeAndFillsTheMiddle) {
  GdiplusScope gdiplus;
  const SkinImage picture = CornerPicture();
  Gdiplus::Bitmap target(40, 30, PixelFormat32bppARGB);
  {
    Gdiplus::Graphics graphics(&target);
    DrawStretched(graphics, *picture, Gdiplus::Rect(0, 0, 12, 12), RECT{0, 0, 40, 30}, 4);
  }
  EXPECT_EQ(PixelAt(target, 0, 0), kCorner.GetValue()) << "top left corner";
  EXPECT_EQ(PixelAt(target, 3, 3), kCorner.GetValue()) << "the corner keeps its 4 pixels";
  EXPECT_EQ(PixelAt(target, 4, 4), kMiddle.GetValue()) << "and not more";
  EXPECT_EQ(PixelAt(target, 20, 15), kMiddle.GetValue()) << "the middle stretched";
  EXPECT_EQ(PixelAt(target, 36, 26), kOtherCorner.GetValue()) << "bottom right corner";
  EXPECT_EQ(PixelAt(target, 39, 29), kOtherCorner.GetValue()) << "to the last pixel";
  EXPECT_EQ(PixelAt(target, 35, 25), kMiddle.GetValue()) << "its 4 pixels only";
  EXPECT_EQ(PixelAt(target, 39, 0), kMiddle.GetValue()) << "the plain top right corner";

  Gdiplus::Bitmap small(6, 6, PixelFormat32bppARGB);
  {
    Gdiplus::Graphics graphics(&small);
    DrawStretched(graphics, *picture, Gdiplus::Rect(0, 0, 12, 12), RECT{0, 0, 6, 6}, 4);
  }
  EXPECT_EQ(PixelAt(small, 2, 2), kCorner.GetValue()) << "corners shrink to half a small target";
  EXPECT_EQ(PixelAt(small, 3, 3), kOtherCorner.GetValue()) << "and meet in its middle";
}

TEST(SkinButton, LooksFollowTheItemStateAndFocusCuesWaitForTheKeyboard) {
  const struct {
    UINT state;
    bool hovered;
    ButtonLook look;
  } cases[] = {
      {0, false, ButtonLook::kNormal},
      {0, true, ButtonLook::kHover},
      {ODS_SELECTED, true, ButtonLook::kPressed},
      {ODS_DISABLED, true, ButtonLook::kDisabled},
      {ODS_DISABLED | ODS_SELECTED, false, ButtonLook::kDisabled},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LookOf(c.state, c.hovered), c.look)
        << "state " << c.state << " hovered " << c.hovered;

  FocusCues tabbed;
  EXPECT_FALSE(tabbed.Observe(WM_PAINT, 0)) << "other messages leave the cues hidden";
  EXPECT_FALSE(tabbed.Observe(WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS)))
      << "hiding them keeps them hidden";
  EXPECT_FALSE(tabbed.shown()) << "hidden at first";
  EXPECT_TRUE(tabbed.Observe(WM_NEXTDLGCTL, 0)) << "Tab shows them";
  EXPECT_FALSE(tabbed.Observe(WM_NEXTDLGCTL, 0)) << "they come on once";
  EXPECT_TRUE(tabbed.shown()) << "and stay";

  FocusCues cleared;
  EXPECT_TRUE(cleared.Observe(WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS)))
      << "the system's own keyboard cue shows them";
}
