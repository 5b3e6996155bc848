// What dosat.exe carries in it, read back through the Windows API the way Explorer, the
// Properties dialog and the table window read it: the icon, the version sheet and the
// table picture.
//
//   exe_resource_tests [gtest flags] path\to\dosat.exe

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::wstring gExe;

Bytes readFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

unsigned u16(const Bytes& b, std::size_t at) { return b.at(at) | b.at(at + 1) << 8; }
std::uint32_t u32(const Bytes& b, std::size_t at) { return u16(b, at) | std::uint32_t(u16(b, at + 2)) << 16; }

constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN);  // 0x0411

class ExeResources : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    module_ = LoadLibraryExW(gExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  }
  static void TearDownTestSuite() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
  }
  void SetUp() override { ASSERT_NE(module_, nullptr) << "cannot load the exe, error " << GetLastError(); }

  // The resource's bytes in Japanese; empty when there is none in that language.
  static Bytes resource(LPCWSTR type, LPCWSTR name) {
    HRSRC found = FindResourceExW(module_, type, name, kJapanese);
    if (!found) return {};
    const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(module_, found)));
    return data ? Bytes(data, data + SizeofResource(module_, found)) : Bytes{};
  }

  static inline HMODULE module_ = nullptr;
};

// A named function, not a lambda: on 32-bit Windows the callback is stdcall, which a
// lambda does not convert to with GCC.
BOOL CALLBACK KeepFirstName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR first) {
  *reinterpret_cast<std::optional<ULONG_PTR>*>(first) =
      IS_INTRESOURCE(name) ? reinterpret_cast<ULONG_PTR>(name) : 0;
  return FALSE;
}

// Explorer shows the first icon group of the exe: its id, 0 for a named group.
std::optional<ULONG_PTR> firstIconGroup(HMODULE module) {
  std::optional<ULONG_PTR> first;
  EnumResourceNamesW(module, RT_GROUP_ICON, KeepFirstName, reinterpret_cast<LONG_PTR>(&first));
  return first;
}

TEST_F(ExeResources, IconGroupHoldsTheThreeImagesOfTheIconFile) {
  const std::optional<ULONG_PTR> first = firstIconGroup(module_);
  ASSERT_TRUE(first) << "no icon";
  EXPECT_EQ(*first, 1u) << "the first icon group is not id 1";
  const LPCWSTR name = MAKEINTRESOURCEW(1);
  const Bytes group = resource(RT_GROUP_ICON, name);
  ASSERT_GE(group.size(), 6u) << "the icon group is not in Japanese";
  ASSERT_EQ(u16(group, 2), 1u) << "not an icon";
  ASSERT_EQ(u16(group, 4), 3u) << "images in the group";
  ASSERT_EQ(group.size(), 6 + 3 * 14u);

  const Bytes ico = readFile(DOSAT_ICON_ICO);
  ASSERT_EQ(u16(ico, 4), 3u) << DOSAT_ICON_ICO;
  struct Want {
    unsigned size, colours, bits;
  };
  const Want want[] = {{32, 2, 1}, {32, 16, 4}, {16, 16, 4}};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE("image " + std::to_string(i));
    const std::size_t at = 6 + 14 * i;  // GRPICONDIRENTRY
    EXPECT_EQ(group[at], want[i].size);
    EXPECT_EQ(group[at + 1], want[i].size);
    EXPECT_EQ(group[at + 2], want[i].colours);
    EXPECT_EQ(u16(group, at + 6), want[i].bits);

    const Bytes image = resource(RT_ICON, MAKEINTRESOURCEW(u16(group, at + 12)));
    EXPECT_EQ(image.size(), u32(group, at + 8)) << "size in the group against the RT_ICON";
    const std::size_t icoAt = 6 + 16 * i;  // ICONDIRENTRY
    const std::uint32_t bytes = u32(ico, icoAt + 8), offset = u32(ico, icoAt + 12);
    ASSERT_LE(std::size_t(offset) + bytes, ico.size());
    EXPECT_TRUE(image == Bytes(ico.begin() + offset, ico.begin() + offset + bytes))
        << "RT_ICON differs from the image in the icon file";

    // And Windows makes an icon of it at its own size.
    HICON icon = CreateIconFromResourceEx(const_cast<PBYTE>(image.data()), DWORD(image.size()), TRUE,
                                          0x00030000, 0, 0, LR_DEFAULTCOLOR);
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP mask{};
    GetObjectW(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(unsigned(mask.bmWidth), want[i].size);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    DestroyIcon(icon);
  }
  // The small icon of the title bar and the taskbar is the 16×16 one.
  EXPECT_EQ(LookupIconIdFromDirectoryEx(const_cast<PBYTE>(group.data()), TRUE, 16, 16, LR_DEFAULTCOLOR),
            int(u16(group, 6 + 2 * 14 + 12)));
}

TEST_F(ExeResources, TablePictureIsTheBitmapFile) {
  const Bytes table = resource(RT_RCDATA, L"DOTABLE");
  ASSERT_FALSE(table.empty()) << "no Japanese RCDATA named DOTABLE";
  const Bytes bmp = readFile(DOSAT_TABLE_BMP);
  ASSERT_FALSE(bmp.empty()) << DOSAT_TABLE_BMP;
  EXPECT_EQ(table.size(), bmp.size());
  EXPECT_TRUE(table == bmp) << "the built-in table picture differs from " DOSAT_TABLE_BMP;
}

// The version sheet, as the Properties dialog reads it: from the file, by version.dll.
class ExeVersion : public ExeResources {
 protected:
  void SetUp() override {
    ExeResources::SetUp();
    ASSERT_FALSE(resource(RT_VERSION, MAKEINTRESOURCEW(1)).empty()) << "no Japanese VERSIONINFO with id 1";
    DWORD ignored = 0;
    info_.resize(GetFileVersionInfoSizeW(gExe.c_str(), &ignored));
    ASSERT_FALSE(info_.empty());
    ASSERT_TRUE(GetFileVersionInfoW(gExe.c_str(), 0, DWORD(info_.size()), info_.data()));
  }

  template <class T>
  const T* query(const std::wstring& path, UINT& length) {
    void* value = nullptr;
    length = 0;
    if (!VerQueryValueW(info_.data(), path.c_str(), &value, &length)) return nullptr;
    return static_cast<const T*>(value);
  }

  std::wstring text(const std::wstring& key) {
    UINT length = 0;
    const wchar_t* value = query<wchar_t>(L"\\StringFileInfo\\041104B0\\" + key, length);
    return value ? std::wstring(value, wcsnlen(value, length)) : L"(none)";
  }

  Bytes info_;
};

TEST_F(ExeVersion, FixedPartIsOneZeroZeroZero) {
  UINT length = 0;
  const auto* fixed = query<VS_FIXEDFILEINFO>(L"\\", length);
  ASSERT_NE(fixed, nullptr);
  ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
}

TEST_F(ExeVersion, TranslationIsJapaneseUnicode) {
  UINT length = 0;
  const auto* translation = query<WORD>(L"\\VarFileInfo\\Translation", length);
  ASSERT_NE(translation, nullptr);
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0411);
  EXPECT_EQ(translation[1], 1200);
}

TEST_F(ExeVersion, StringsReadBackInTheJapaneseTable) {
  const struct {
    const wchar_t* key;
    const wchar_t* value;
  } rows[] = {
      {L"FileVersion", L"1.00"},
      {L"ProductVersion", L"1.00"},
      {L"OriginalFilename", L"dosat.exe"},
      // Garbled if the .rc file's UTF-8 was read in another code page.
      {L"FileDescription", L"飽和溶存酸素濃度計算"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.key, row.key + wcslen(row.key)));
    EXPECT_EQ(text(row.key), row.value);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: exe_resource_tests [gtest flags] path\\to\\dosat.exe\n");
    return 2;
  }
  gExe = argv[1];
  // LoadLibraryEx takes no forward slashes, which a path from CMake has.
  std::replace(gExe.begin(), gExe.end(), L'/', L'\\');
  return RUN_ALL_TESTS();
}
