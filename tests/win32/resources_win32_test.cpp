#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resource_ids.h"
#include "toolkit/program_win32.h"

using namespace dovra;

namespace {

std::string VersionString(const std::vector<char>& block, const char* name) {
  char* value = nullptr;
  UINT len = 0;
  const std::string path = std::string("\\StringFileInfo\\041103a4\\") + name;
  if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &len) || !value) return "";
  return std::string(value);
}

}  // namespace

TEST(Resources, VersionRecordReadsBack) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(self, &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(self, 0, size, block.data()));
  EXPECT_EQ(VersionString(block, "ProductName"), "Dovra (ScreenSaver)");
  EXPECT_EQ(VersionString(block, "OriginalFilename"), "Dovra.scr");
  EXPECT_EQ(VersionString(block, "FileVersion"), "1.00");
  EXPECT_EQ(VersionString(block, "ProductVersion"), "1.00");
  WORD* lang = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&lang), &len));
  ASSERT_GE(len, 4u);
  EXPECT_EQ(lang[0], 0x411);  // Japanese
  EXPECT_EQ(lang[1], 932);
  char name[64] = {};
  EXPECT_GT(LoadStringA(GetModuleHandleA(nullptr), IDS_DESCRIPTION, name, sizeof name), 0);
  EXPECT_STREQ(name, "Dovra");
  // The manifest asks for no execution level: writes beside the installed
  // saver must go on being redirected to each user's virtual store.
  HRSRC res = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24) /* RT_MANIFEST */);
  ASSERT_NE(res, nullptr);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(nullptr, res))), SizeofResource(nullptr, res));
  EXPECT_NE(manifest.find("<dpiAwareness"), std::string::npos);
  EXPECT_EQ(manifest.find("<trustInfo"), std::string::npos);
  EXPECT_EQ(manifest.find("<requestedExecutionLevel"), std::string::npos);
}

TEST(Resources, PicturesIconAndCursorLoad) {
  struct { int id, w, h; } pics[] = {
      {IDB_BALL, 22, 23}, {IDB_EARTH, 500, 400}, {IDB_GAS_GIANT, 640, 480},
      {IDB_RINGED_PLANET, 640, 480}, {IDB_PREVIEW, 152, 112}, {IDB_MARK_EMPTY, 12, 12},
      {IDB_MARK_SELECTED, 12, 12}, {IDB_FACE_NORMAL, 64, 25}, {IDB_FACE_DISABLE, 64, 25},
  };
  for (const auto& p : pics) {
    Picture pic = LoadPictureResource(p.id);
    ASSERT_TRUE(pic) << p.id;
    BITMAP bm{};
    GetObjectA(pic.Handle(), sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, p.w) << p.id;
    EXPECT_EQ(bm.bmHeight, p.h) << p.id;
    EXPECT_EQ(bm.bmBitsPixel, 24) << p.id;
  }
  HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_DOVRA));
  EXPECT_NE(icon, nullptr);
  HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDCUR_HAND));
  ASSERT_NE(hand, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(hand, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 12u);
  EXPECT_EQ(info.yHotspot, 10u);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
}
