#include "ui/skin_image.h"

#include <algorithm>

#include "foundation/ansi_text.h"

namespace kelvane {

SkinImage LoadSkinImage(const std::string& folder, const char* name) {
  const std::wstring path = AnsiToWide(folder + "\\" + name);
  std::unique_ptr<Gdiplus::Bitmap> file(Gdiplus::Bitmap::FromFile(path.c_str()));
  if (!file || file->GetLastStatus() != Gdiplus::Ok) return nullptr;
  const int width = static_cast<int>(file->GetWidth());
  const int height = static_cast<int>(file->GetHeight());
  if (width <= 0 || height <= 0) return nullptr;
  // A copy in memory, so that the file is closed again.
  auto copy = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
  if (copy->GetLastStatus() != Gdiplus::Ok) return nullptr;
  Gdiplus::Graphics graphics(copy.get());
  graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
  if (graphics.DrawImage(file.get(), 0, 0, width, height) != Gdiplus::Ok) return nullptr;
  return copy;
}

ScopedBitmap LoadBitmapFile(const std::string& path) {
  return ScopedBitmap(static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                      LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

ScopedBitmap LoadSkinBitmap(const std::string& folder, const char* name) {
  return LoadBitmapFile(folder + "\\" + name);
}

Gdiplus::Rect OpaqueBounds(Gdiplus::Bitmap& image) {
  const int width = static_cast<int>(image.GetWidth());
  const int height = static_cast<int>(image.GetHeight());
  Gdiplus::Rect all(0, 0, width, height);
  Gdiplus::BitmapData data;
  if (image.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok)
    return all;
  int left = width, top = height, right = -1, bottom = -1;
  for (int y = 0; y < height; ++y) {
    const BYTE* row = static_cast<const BYTE*>(data.Scan0) + static_cast<INT_PTR>(y) * data.Stride;
    for (int x = 0; x < width; ++x) {
      if (row[x * 4 + 3] == 0) continue;  // alpha of B, G, R, A
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  image.UnlockBits(&data);
  if (right < 0) return Gdiplus::Rect();
  return Gdiplus::Rect(left, top, right - left + 1, bottom - top + 1);
}

namespace {

// Where pixel `at` of a `length` long target comes from in a source of
// `sourceLength` starting at `sourceStart`: the `corner` pixels at both ends
// one to one, the middle stretched.
int SourcePixel(int at, int length, int sourceStart, int sourceLength, int corner) {
  if (at < corner) return sourceStart + at;
  if (at >= length - corner) return sourceStart + sourceLength - (length - at);
  const int middle = length - 2 * corner;
  const int sourceMiddle = sourceLength - 2 * corner;
  return sourceStart + corner + (at - corner) * sourceMiddle / middle;
}

}  // namespace

void DrawStretched(Gdiplus::Graphics& graphics, Gdiplus::Bitmap& image, const Gdiplus::Rect& source,
                   const RECT& target, int corner) {
  const int width = target.right - target.left;
  const int height = target.bottom - target.top;
  if (width <= 0 || height <= 0 || source.Width <= 0 || source.Height <= 0) return;
  const int cx = std::max(0, std::min({corner, source.Width / 2, width / 2}));
  const int cy = std::max(0, std::min({corner, source.Height / 2, height / 2}));

  // The pieces are put together pixel by pixel and drawn at once: nine
  // separate drawings leave seams where a translucent picture's pieces meet.
  Gdiplus::Bitmap piece(width, height, PixelFormat32bppARGB);
  Gdiplus::Rect all(0, 0, static_cast<int>(image.GetWidth()), static_cast<int>(image.GetHeight()));
  Gdiplus::Rect out(0, 0, width, height);
  Gdiplus::BitmapData from, to;
  if (image.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &from) != Gdiplus::Ok)
    return;
  if (piece.LockBits(&out, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &to) != Gdiplus::Ok) {
    image.UnlockBits(&from);
    return;
  }
  for (int y = 0; y < height; ++y) {
    const int sy = SourcePixel(y, height, source.Y, source.Height, cy);
    const auto* sourceRow = reinterpret_cast<const UINT32*>(static_cast<const BYTE*>(from.Scan0) +
                                                            static_cast<INT_PTR>(sy) * from.Stride);
    auto* row = reinterpret_cast<UINT32*>(static_cast<BYTE*>(to.Scan0) +
                                          static_cast<INT_PTR>(y) * to.Stride);
    for (int x = 0; x < width; ++x)
      row[x] = sourceRow[SourcePixel(x, width, source.X, source.Width, cx)];
  }
  piece.UnlockBits(&to);
  image.UnlockBits(&from);

  // One to one: no resampling may blur what was put together.
  const Gdiplus::InterpolationMode interpolation = graphics.GetInterpolationMode();
  const Gdiplus::PixelOffsetMode offset = graphics.GetPixelOffsetMode();
  graphics.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
  graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  graphics.DrawImage(&piece, Gdiplus::Rect(target.left, target.top, width, height), 0, 0, width,
                     height, Gdiplus::UnitPixel);
  graphics.SetInterpolationMode(interpolation);
  graphics.SetPixelOffsetMode(offset);
}

}  // namespace kelvane
