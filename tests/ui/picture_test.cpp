// Pictures from the program's own resources: loading, premultiplying and drawing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/resource_ids.h"
#include "ui/image_ids.h"
#include "ui/picture.h"
#include "ui_fixture.h"

using ui_testing::Alpha;
using ui_testing::Blue;
using ui_testing::Canvas;
using ui_testing::Green;
using ui_testing::Red;

namespace {

HINSTANCE Self() { return GetModuleHandleW(nullptr); }

std::string ResourceBytes(WORD id, const wchar_t* type) {
  const HRSRC resource = FindResourceW(Self(), MAKEINTRESOURCEW(id), type);
  if (resource == nullptr) return {};
  const void* bytes = LockResource(LoadResource(Self(), resource));
  return std::string(static_cast<const char*>(bytes), SizeofResource(Self(), resource));
}

uint32_t BigEndian(const std::string& s, size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(s[at])) << 24 |
         static_cast<uint8_t>(s[at + 1]) << 16 | static_cast<uint8_t>(s[at + 2]) << 8 |
         static_cast<uint8_t>(s[at + 3]);
}

bool HasChunk(const std::string& png, const char* type) {
  return png.find(std::string(type, 4), 8) != std::string::npos;
}

}  // namespace

TEST(Artwork, EveryPictureHasItsSizeAndColourType) {
  struct Entry {
    WORD id;
    int width, height, colourType;
  };
  const Entry table[] = {
      {170, 1411, 900, 3}, {183, 29, 30, 2},   {184, 27, 27, 2},   {185, 27, 27, 2},
      {186, 28, 27, 2},    {187, 28, 27, 2},   {188, 24, 23, 3},   {189, 24, 23, 3},
      {190, 76, 16, 3},    {191, 76, 16, 3},   {192, 21, 14, 3},   {193, 21, 14, 3},
      {194, 78, 17, 3},    {195, 78, 17, 3},   {196, 127, 43, 2},  {197, 127, 43, 2},
      {198, 76, 16, 3},    {199, 76, 16, 3},   {200, 75, 17, 3},   {201, 75, 17, 3},
      {202, 38, 18, 2},    {203, 38, 18, 2},   {204, 25, 25, 2},   {205, 27, 27, 2},
      {206, 27, 27, 2},    {207, 28, 27, 2},   {208, 28, 27, 2},   {209, 27, 27, 2},
      {210, 27, 27, 2},    {211, 38, 18, 2},   {212, 38, 18, 2},   {213, 38, 18, 2},
      {214, 38, 18, 2},    {215, 38, 18, 2},   {216, 38, 18, 2},   {217, 38, 18, 2},
      {218, 38, 18, 2},    {219, 1500, 27, 2}, {221, 1500, 27, 2}, {222, 3, 359, 2},
      {223, 469, 4, 2},    {224, 27, 27, 2},   {225, 27, 27, 2},   {226, 134, 48, 2},
      {227, 134, 48, 2},
  };
  for (const Entry& e : table) {
    const std::string png = ResourceBytes(e.id, L"PNG");
    ASSERT_GT(png.size(), 33u) << e.id;
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << e.id;
    EXPECT_EQ(BigEndian(png, 16), static_cast<uint32_t>(e.width)) << e.id;
    EXPECT_EQ(BigEndian(png, 20), static_cast<uint32_t>(e.height)) << e.id;
    EXPECT_EQ(png[24], 8) << e.id << " bit depth";
    EXPECT_EQ(png[25], e.colourType) << e.id;
    EXPECT_EQ(HasChunk(png, "tRNS"), e.id == 170) << e.id;

    CImage image;
    EXPECT_TRUE(LoadPngResource(Self(), image, e.id)) << e.id;
    EXPECT_EQ(image.GetWidth(), e.width) << e.id;
    EXPECT_EQ(image.GetHeight(), e.height) << e.id;
  }
  EXPECT_TRUE(ResourceBytes(IDB_KEY_TILE, L"PNG").empty());
  EXPECT_FALSE(ResourceBytes(IDB_KEY_TILE, RT_BITMAP).empty());
}

TEST(LoadPngResource, LoginBackgroundIsSolidKeyWithoutAlpha) {
  CImage image;
  ASSERT_TRUE(LoadPngResource(Self(), image, IDB_LOGIN_BACK));
  EXPECT_EQ(image.GetWidth(), 29);
  EXPECT_EQ(image.GetHeight(), 30);
  EXPECT_FALSE(image.HasAlpha());
  EXPECT_NE(image.GetBPP(), 32);
  Canvas canvas(60, 60, RGB(10, 20, 30));
  ASSERT_TRUE(image.AlphaBlend(canvas.dc(), 0, 0, 60, 60, 0, 0, 29, 30, 255));
  for (int y = 0; y < 60; y += 7)
    for (int x = 0; x < 60; x += 7) EXPECT_EQ(canvas.Pixel(x, y) & 0xFFFFFF, 0xFF80FFu);
}

TEST(LoadPngResource, ArtworkIsPremultipliedThirtyTwoBit) {
  CImage image;
  ASSERT_TRUE(LoadPngResource(Self(), image, IDB_BACK_FRAME));
  ASSERT_EQ(image.GetBPP(), 32);
  EXPECT_TRUE(image.HasAlpha());
  // The straight decode, for comparison.
  CImage straight;
  ASSERT_EQ(DecodeResource(Self(), FindResourceW(Self(), MAKEINTRESOURCEW(IDB_BACK_FRAME), L"PNG"),
                           straight),
            S_OK);
  int clear = 0, partial = 0;
  for (int y = 0; y < image.GetHeight(); y += 3) {
    for (int x = 0; x < image.GetWidth(); x += 3) {
      const uint8_t* p = image.GetBits() + y * image.GetPitch() + x * 4;
      const uint8_t* s = straight.GetBits() + y * straight.GetPitch() + x * 4;
      ASSERT_EQ(p[3], s[3]);
      if (p[3] == 0) {
        ++clear;
        ASSERT_EQ(p[0] | p[1] | p[2], 0) << x << "," << y;
      } else if (p[3] < 255) {
        ++partial;
      }
      for (int c = 0; c < 3; ++c) ASSERT_EQ(p[c], s[c] * s[3] / 255) << x << "," << y;
    }
  }
  EXPECT_GT(clear, 1000);
  EXPECT_GT(partial, 100) << "the artwork has soft edges";
}

TEST(LoadPngResource, BitmapResourceIsAttachedAndDrawnColourKeyed) {
  CImage image;
  EXPECT_FALSE(LoadPngResource(Self(), image, IDB_KEY_TILE));
  ASSERT_FALSE(image.IsNull());
  EXPECT_EQ(image.GetWidth(), 29);
  EXPECT_EQ(image.GetHeight(), 30);
  EXPECT_EQ(image.GetBPP(), 24);
  // A bottom-up DIB is read top-down through the pitch: the corner is the key colour.
  const uint8_t* corner = image.GetBits();
  EXPECT_EQ(corner[0], 0xFF);
  EXPECT_EQ(corner[1], 0x80);
  EXPECT_EQ(corner[2], 0xFF);

  Canvas canvas(29, 30, RGB(1, 2, 3));
  ASSERT_TRUE(
      BlitImage(image, canvas.dc(), BlitKind::kTransparent, 255, 0, 0, 29, 30, 0, 0, 29, 30));
  EXPECT_EQ(canvas.Pixel(0, 0) & 0xFFFFFF, 0x010203u) << "key colour left out";
  EXPECT_NE(canvas.Pixel(14, 15) & 0xFFFFFF, 0x010203u) << "the tile's middle is drawn";
}

TEST(LoadPngResource, MissingIdLeavesTheImageEmpty) {
  CImage image;
  ASSERT_TRUE(LoadPngResource(Self(), image, IDB_LOGIN_CLOSE));
  EXPECT_FALSE(LoadPngResource(Self(), image, 4321));
  EXPECT_TRUE(image.IsNull()) << "the previous picture is released";
  Canvas canvas(4, 4);
  EXPECT_FALSE(image.AlphaBlend(canvas.dc(), 0, 0, 4, 4, 0, 0, 4, 4, 255));
  EXPECT_FALSE(DrawSliced(image, canvas.dc(), RECT{0, 0, 4, 4}, SliceWidths{1, 1, 1, 1},
                          BlitKind::kStretch));
}

TEST(LoadPngResource, UndecodableBytesLeaveTheImageEmpty) {
  // The manifest is not a picture; loaded through the same path it stays empty.
  CImage image;
  const HRSRC manifest = FindResourceW(Self(), MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_NE(manifest, nullptr);
  EXPECT_TRUE(FAILED(DecodeResource(Self(), manifest, image)));
  EXPECT_TRUE(image.IsNull());
}

TEST(PremultiplyAlpha, RefusesOtherDepths) {
  CImage image;
  ASSERT_TRUE(LoadPngResource(Self(), image, IDB_GAME_CLOSE));
  ASSERT_EQ(image.GetBPP(), 24);
  const uint8_t before = image.GetBits()[0];
  EXPECT_FALSE(PremultiplyAlpha(image, RECT{0, 0, 28, 27}));
  EXPECT_EQ(image.GetBits()[0], before);
}

TEST(PremultiplyAlpha, ClearRectangleMakesPixelsTransparent) {
  CImage image;
  ASSERT_TRUE(LoadPngResource(Self(), image, IDB_BACK_FRAME));
  // The middle of the page frame is opaque artwork.
  const uint8_t* p = image.GetBits() + 400 * image.GetPitch() + 600 * 4;
  ASSERT_EQ(p[3], 255);
  EXPECT_TRUE(PremultiplyAlpha(image, RECT{590, 390, 610, 410}));
  EXPECT_EQ(p[3], 0);
  EXPECT_EQ(p[0] | p[1] | p[2], 0);
  const uint8_t* outside = image.GetBits() + 400 * image.GetPitch() + 610 * 4;
  EXPECT_EQ(outside[3], 255) << "the right edge is outside";
}

TEST(DrawSliced, StretchesTheMiddleAndKeepsTheCorners) {
  // The login background is one colour, so sliced or not it fills its rectangle; the
  // corners of a rectangle not starting at the origin must land exactly.
  CImage image;
  ASSERT_TRUE(LoadPngResource(Self(), image, IDB_LOGIN_BACK));
  Canvas canvas(120, 100, RGB(0, 0, 0));
  EXPECT_TRUE(DrawSliced(image, canvas.dc(), RECT{10, 10, 110, 90}, SliceWidths{5, 5, 5, 5},
                         BlitKind::kStretch));
  EXPECT_EQ(canvas.Pixel(9, 9) & 0xFFFFFF, 0u);
  EXPECT_EQ(canvas.Pixel(10, 10) & 0xFFFFFF, 0xFF80FFu);
  EXPECT_EQ(canvas.Pixel(109, 89) & 0xFFFFFF, 0xFF80FFu);
  EXPECT_EQ(canvas.Pixel(110, 90) & 0xFFFFFF, 0u);
  EXPECT_EQ(canvas.Pixel(60, 50) & 0xFFFFFF, 0xFF80FFu);
}

TEST(Menus, CommandAndTrayMenusHoldTheirItems) {
  struct Item {
    UINT id;
    const wchar_t* text;
  };
  struct MenuCase {
    WORD id;
    std::vector<Item> items;
  };
  const MenuCase menus[] = {
      {IDR_TOOL_MENU,
       {{ID_TOOL_REFRESH, L"刷新"},
        {ID_TOOL_CLEAN_CACHE, L"清理缓存"},
        {ID_TOOL_AUTORUN, L"开机启动"}}},
      {IDR_TRAY_MENU, {{ID_TRAY_OPEN, L"打开"}, {ID_TRAY_EXIT, L"退出"}}},
  };
  for (const MenuCase& m : menus) {
    const HMENU bar = LoadMenuW(Self(), MAKEINTRESOURCEW(m.id));
    ASSERT_NE(bar, nullptr) << m.id;
    EXPECT_EQ(GetMenuItemCount(bar), 1) << "a bar with one popup";
    const HMENU popup = GetSubMenu(bar, 0);
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(m.items.size()));
    for (size_t i = 0; i < m.items.size(); ++i) {
      EXPECT_EQ(GetMenuItemID(popup, static_cast<int>(i)), m.items[i].id);
      wchar_t text[32] = {};
      GetMenuStringW(popup, static_cast<UINT>(i), text, 32, MF_BYPOSITION);
      EXPECT_STREQ(text, m.items[i].text);
    }
    DestroyMenu(bar);
  }
}

TEST(Resources, AreChineseSimplified) {
  const HRSRC resource = FindResourceExW(Self(), L"PNG", MAKEINTRESOURCEW(IDB_BACK_FRAME),
                                         MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
  EXPECT_NE(resource, nullptr);
  EXPECT_NE(FindResourceExW(Self(), RT_MENU, MAKEINTRESOURCEW(IDR_TRAY_MENU), 2052), nullptr);
}
