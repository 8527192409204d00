// The editor program's resources, read back from the built program.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// The module's bytes of one resource; empty when it has none.
std::string ResourceBytes(HMODULE module, LPCSTR type, LPCSTR name) {
  HRSRC found = FindResourceA(module, name, type);
  if (!found) return "";
  const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
  return data ? std::string(data, SizeofResource(module, found)) : "";
}

BOOL CALLBACK CountName(HMODULE, LPCSTR, LPSTR, LONG_PTR count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int ResourceCount(HMODULE module, LPCSTR type) {
  int count = 0;
  EnumResourceNamesA(module, type, CountName, reinterpret_cast<LONG_PTR>(&count));
  return count;
}

class ProgramResources : public ::testing::Test {
protected:
  void SetUp() override {
    program = LoadLibraryExA(ASDEDIT_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, program) << ASDEDIT_PATH;
  }
  void TearDown() override {
    if (program) FreeLibrary(program);
  }
  HMODULE program = nullptr;
};

// The group entry of an icon resource, as the resource compiler stores it.
#pragma pack(push, 2)
struct IconGroupEntry {
  BYTE width, height, colourCount, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
struct IconGroup {
  WORD reserved, type, count;
  IconGroupEntry entries[1];
};
#pragma pack(pop)

std::string VersionString(const std::vector<char>& info, const char* name) {
  char* value = nullptr;
  UINT length = 0;
  std::string query = std::string("\\StringFileInfo\\041104B0\\") + name;
  if (!VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return "<none>";
  return value;
}

}  // namespace

// Icon 1 is one 32 x 32 image in 16 colours, and the platform can make an icon of it.
TEST_F(ProgramResources, IconIsOne32By32ImageIn16Colours) {
  std::string group = ResourceBytes(program, MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(1));  // RT_GROUP_ICON
  ASSERT_EQ(6u + sizeof(IconGroupEntry), group.size());
  const IconGroup* header = reinterpret_cast<const IconGroup*>(group.data());
  EXPECT_EQ(1, header->type);
  ASSERT_EQ(1, header->count);
  const IconGroupEntry& entry = header->entries[0];
  EXPECT_EQ(32, entry.width);
  EXPECT_EQ(32, entry.height);
  EXPECT_EQ(16, entry.colourCount);
  EXPECT_EQ(4, entry.bitCount);
  EXPECT_EQ(1, ResourceCount(program, MAKEINTRESOURCEA(3)));  // RT_ICON: no other image anywhere
  EXPECT_EQ(1, ResourceCount(program, MAKEINTRESOURCEA(14)));

  std::string image = ResourceBytes(program, MAKEINTRESOURCEA(3), MAKEINTRESOURCEA(entry.id));
  ASSERT_EQ(entry.bytes, image.size());
  const BITMAPINFOHEADER* bits = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
  EXPECT_EQ(32, bits->biWidth);
  EXPECT_EQ(64, bits->biHeight);  // colour bits and mask
  EXPECT_EQ(4, bits->biBitCount);
  EXPECT_EQ(0u, bits->biCompression);

  HICON icon = CreateIconFromResourceEx(reinterpret_cast<BYTE*>(&image[0]), static_cast<DWORD>(image.size()), TRUE,
                                        0x00030000, 0, 0, LR_DEFAULTCOLOR);
  ASSERT_NE(nullptr, icon);
  ICONINFO info;
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP mask;
  GetObjectA(info.hbmMask, sizeof mask, &mask);
  EXPECT_EQ(32, mask.bmWidth);
  DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DestroyIcon(icon);
}

// Version 0.5 in the numbers and, read back in code page 932, in the Japanese strings.
TEST_F(ProgramResources, VersionInformationReadsBack) {
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(ASDEDIT_PATH, &handle);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(ASDEDIT_PATH, 0, size, info.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
  EXPECT_EQ(0x00000005u, fixed->dwFileVersionMS);  // 0.5
  EXPECT_EQ(0u, fixed->dwFileVersionLS);           // .0.0
  EXPECT_EQ(0x00000005u, fixed->dwProductVersionMS);
  EXPECT_EQ(0u, fixed->dwProductVersionLS);
  EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(4u, length);
  EXPECT_EQ(0x0411, translation[0]);  // Japanese
  EXPECT_EQ(1200, translation[1]);    // Unicode

  ASSERT_EQ(932u, GetACP());
  EXPECT_EQ("モルダン・ピクセリオン Save Editor", VersionString(info, "ProductName"));
  EXPECT_EQ("モルダン・ピクセリオン Save Editor", VersionString(info, "FileDescription"));
  EXPECT_EQ("0.5", VersionString(info, "ProductVersion"));
  EXPECT_EQ("0.5", VersionString(info, "FileVersion"));
  EXPECT_EQ("asdedit.exe", VersionString(info, "OriginalFilename"));
}

// The program carries the manifest that the code-page probe proves under Wine.
TEST_F(ProgramResources, ManifestAsksForCodePage932AndNothingElse) {
  std::string manifest = ResourceBytes(program, MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));  // RT_MANIFEST
  ASSERT_FALSE(manifest.empty());
  EXPECT_EQ(1, ResourceCount(program, MAKEINTRESOURCEA(24)));
  EXPECT_NE(std::string::npos,
            manifest.find("<activeCodePage xmlns=\"http://schemas.microsoft.com/SMI/2019/WindowsSettings\">ja-JP"
                          "</activeCodePage>"));
  EXPECT_NE(std::string::npos, manifest.find("level=\"asInvoker\""));
  EXPECT_EQ(std::string::npos, manifest.find("dpiAware"));  // dpiAware and dpiAwareness
  EXPECT_EQ(std::string::npos, manifest.find("gdiScaling"));

  HMODULE probe = LoadLibraryExA(ACP_PROBE_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(nullptr, probe);
  EXPECT_EQ(manifest, ResourceBytes(probe, MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1)));
  FreeLibrary(probe);
}
