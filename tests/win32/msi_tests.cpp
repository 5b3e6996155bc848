// The release's MSI as an administrator deploys it: installed silently, the installed
// program started, upgraded by a later version, and removed silently without a trace.
//
//   msi_tests.exe MSI VERSION LATER_MSI LATER_VERSION FILES_DIR
//
// LATER_MSI is the same package at LATER_VERSION; FILES_DIR holds the files the MSI must
// install (the 32-bit zip's). Windows paths.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "driving.h"

namespace fs = std::filesystem;

namespace {

struct Arguments {
  std::wstring msi, version, laterMsi, laterVersion, files;
};
Arguments args;

constexpr const wchar_t* kUninstall = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const wchar_t* kInstalledFiles[] = {L"dosat.exe", L"readme.txt", L"LICENSE.txt"};

std::string Narrow(const std::wstring& s) {
  std::string out;
  for (wchar_t c : s) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

/// msiexec's exit status, or -1 if it did not end within 2 minutes.
int Msiexec(const wchar_t* action, const std::wstring& target) {
  return dosat::testing::Process(L"msiexec.exe " + std::wstring(action) + L" \"" + target + L"\" /qn")
      .ExitStatus(120000);
}

fs::path Folder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

fs::path InstallFolder() { return Folder(CSIDL_PROGRAM_FILES) / L"dosat"; }

/// The Start-menu shortcuts named dosat, the all-users menu's and the user's.
std::vector<fs::path> Shortcuts() {
  std::vector<fs::path> found;
  for (int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
    const fs::path link = Folder(csidl) / L"dosat.lnk";
    if (fs::exists(link)) found.push_back(link);
  }
  return found;
}

fs::path ShortcutTarget(const fs::path& link) {
  IShellLinkW* shell = nullptr;
  wchar_t target[MAX_PATH] = {};
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&shell)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      if (SUCCEEDED(file->Load(link.c_str(), STGM_READ))) shell->GetPath(target, MAX_PATH, nullptr, 0);
      file->Release();
    }
    shell->Release();
  }
  return target;
}

std::wstring Value(HKEY key, const wchar_t* name) {
  wchar_t value[1024] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return {};
  return value;
}

/// An entry of "Apps and Features": its key's name (the product code) and its values.
struct Entry {
  std::wstring key, displayName, displayVersion, publisher, displayIcon;
};

std::vector<Entry> DosatEntries() {
  std::vector<Entry> entries;
  HKEY uninstall;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstall, 0, KEY_READ, &uninstall) != ERROR_SUCCESS) return entries;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(uninstall, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    HKEY product;
    if (RegOpenKeyExW(uninstall, name, 0, KEY_READ, &product) != ERROR_SUCCESS) continue;
    Entry entry{name, Value(product, L"DisplayName"), Value(product, L"DisplayVersion"),
                Value(product, L"Publisher"), Value(product, L"DisplayIcon")};
    RegCloseKey(product);
    if (entry.displayName.find(L"dosat") != std::wstring::npos) entries.push_back(entry);
  }
  RegCloseKey(uninstall);
  return entries;
}

bool KeyExists(HKEY root, const wchar_t* path) {
  HKEY key;
  if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class Installer : public ::testing::Test {
 protected:
  void SetUp() override { CoInitialize(nullptr); }
  // Whatever failed, the prefix is left as it was found, for the other tests.
  void TearDown() override {
    for (const Entry& entry : DosatEntries()) Msiexec(L"/x", entry.key);
    CoUninitialize();
  }

  // Everything an installation leaves: files, shortcut, entry.
  void ExpectInstalled(const std::wstring& version) {
    for (const wchar_t* file : kInstalledFiles) {
      const fs::path installed = InstallFolder() / file;
      ASSERT_TRUE(fs::exists(installed)) << Narrow(installed.wstring());
      // The zip's own files: the same exe, guide and licence whichever way users take it.
      EXPECT_TRUE(Bytes(installed) == Bytes(fs::path(args.files) / file)) << Narrow(file);
    }
    const std::vector<fs::path> shortcuts = Shortcuts();
    ASSERT_EQ(shortcuts.size(), 1u) << "Start-menu shortcuts named dosat";
    EXPECT_TRUE(fs::equivalent(ShortcutTarget(shortcuts[0]), InstallFolder() / L"dosat.exe"))
        << Narrow(ShortcutTarget(shortcuts[0]).wstring());

    const std::vector<Entry> entries = DosatEntries();
    ASSERT_EQ(entries.size(), 1u) << "entries in Apps and Features";
    EXPECT_EQ(entries[0].displayName, L"dosat");
    EXPECT_EQ(entries[0].displayVersion, version);
    EXPECT_EQ(entries[0].publisher, L"dosat developers");
    // "C:\...\dosat.exe,0": the icon of a file that is there.
    const std::wstring icon = entries[0].displayIcon.substr(0, entries[0].displayIcon.rfind(L','));
    EXPECT_TRUE(!icon.empty() && fs::exists(icon)) << Narrow(entries[0].displayIcon);
  }
};

TEST_F(Installer, InstallsStartsUpgradesAndUninstallsSilently) {
  ASSERT_TRUE(DosatEntries().empty()) << "dosat is installed before the test";

  ASSERT_EQ(Msiexec(L"/i", args.msi), 0) << "msiexec /i " << Narrow(args.msi) << " /qn";
  ExpectInstalled(args.version);
  if (HasFatalFailure()) return;
  const std::wstring firstProduct = DosatEntries()[0].key;

  // The installed program, started as the shortcut starts it.
  {
    const dosat::testing::Process installed(L"\"" + (InstallFolder() / L"dosat.exe").wstring() + L"\"",
                                            InstallFolder().c_str());
    ASSERT_TRUE(installed.Started());
    HWND calculation = dosat::testing::WaitForWindow(L"ZEPALT", 20);
    EXPECT_NE(calculation, nullptr) << "the installed dosat.exe shows no calculation window";
    if (calculation) {
      EXPECT_EQ(dosat::testing::TextOf(calculation), std::wstring(7, L'\u3000') + L"溶存酸素濃度(JISK0102)");
      PostMessageW(calculation, WM_CLOSE, 0, 0);
    }
    EXPECT_EQ(installed.ExitStatus(10000), 0);
  }

  // A later version replaces it: one entry, the later one.
  ASSERT_EQ(Msiexec(L"/i", args.laterMsi), 0) << "msiexec /i " << Narrow(args.laterMsi) << " /qn";
  ExpectInstalled(args.laterVersion);
  if (HasFatalFailure()) return;
  const std::wstring laterProduct = DosatEntries()[0].key;
  EXPECT_NE(laterProduct, firstProduct) << "a later version needs a product code of its own";

  // Removed silently: no file, shortcut, entry or key of dosat, nor Windows Installer's
  // copy of its icon.
  ASSERT_EQ(Msiexec(L"/x", args.laterMsi), 0) << "msiexec /x " << Narrow(args.laterMsi) << " /qn";
  EXPECT_FALSE(fs::exists(InstallFolder())) << Narrow(InstallFolder().wstring());
  EXPECT_TRUE(Shortcuts().empty());
  EXPECT_TRUE(DosatEntries().empty());
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
    EXPECT_FALSE(KeyExists(root, L"Software\\dosat"));
  for (const std::wstring& product : {firstProduct, laterProduct}) {
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, (std::wstring(kUninstall) + L"\\" + product).c_str()));
    EXPECT_FALSE(fs::exists(Folder(CSIDL_WINDOWS) / L"Installer" / product)) << Narrow(product);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 6) {
    std::fputs("usage: msi_tests.exe MSI VERSION LATER_MSI LATER_VERSION FILES_DIR\n", stderr);
    return 2;
  }
  args = {argv[1], argv[2], argv[3], argv[4], argv[5]};
  return RUN_ALL_TESTS();
}
