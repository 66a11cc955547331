// The built tavrin.exe as Windows sees it before running any of it: the
// image's flags, what it imports, and what its properties and the elevation
// prompt show.

#include <windows.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cwchar>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "program/executable_image_win.h"

namespace tavrin::test {
namespace {

class Executable : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(image_.Mapped()); }

  std::optional<ImportedDll> ImporterOf(const std::string& function) const {
    for (const ImportedDll& dll : image_.Imports()) {
      for (const std::string& name : dll.functions) {
        if (name == function) return dll;
      }
    }
    return std::nullopt;
  }

  ExecutableImage image_{TAVRIN_PROGRAM_FILE};
};

TEST_F(Executable, IsA32BitWindowsProgramWithItsProtectionsOn) {
  const IMAGE_FILE_HEADER& file = image_.Headers().FileHeader;
  const IMAGE_OPTIONAL_HEADER32& image = image_.Headers().OptionalHeader;
  EXPECT_EQ(file.Machine, IMAGE_FILE_MACHINE_I386);
  EXPECT_EQ(image.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
  // Below 6.0 Windows draws the window with the frame metrics of old versions.
  EXPECT_EQ(image.MajorSubsystemVersion, 6);
  EXPECT_EQ(image.MinorSubsystemVersion, 0);
  EXPECT_TRUE(image.DllCharacteristics & IMAGE_DLLCHARACTERISTICS_NX_COMPAT);
  EXPECT_TRUE(image.DllCharacteristics & IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE);
  // Windows moves an image only when it can relocate it.
  EXPECT_TRUE(image.DllCharacteristics & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE);
  EXPECT_FALSE(file.Characteristics & IMAGE_FILE_RELOCS_STRIPPED);
  EXPECT_GT(image.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC].Size, 0u);
}

// What the loader resolves before the program's first instruction can come
// from the program's folder unless Windows always takes it from its own.
TEST_F(Executable, LoadsOnlyKnownDllsBeforeItStarts) {
  for (const ImportedDll& dll : image_.Imports()) {
    if (!dll.delayed) {
      EXPECT_TRUE(IsKnownDll(dll.name)) << dll.name << " is loaded at start";
    }
  }
}

TEST_F(Executable, ReachesTheOtherSystemDllsOnlyThroughDelayLoading) {
  for (const char* function : {"InitCommonControlsEx", "DwmSetWindowAttribute", "GdiplusStartup",
                               "GetAdaptersAddresses", "GetFileVersionInfoW", "WinHttpOpen"}) {
    const std::optional<ImportedDll> dll = ImporterOf(function);
    ASSERT_TRUE(dll) << function;
    EXPECT_FALSE(IsKnownDll(dll->name)) << function;
    EXPECT_TRUE(dll->delayed) << function << " from " << dll->name;
  }
}

// A delay-loaded function's slot first holds the stub that loads its DLL; an
// empty one is a call to address zero.
TEST_F(Executable, HasSomethingToCallInEveryImportSlot) {
  for (const ImportedDll& dll : image_.Imports()) {
    EXPECT_EQ(dll.emptySlots, 0) << dll.name;
  }
}

// Windows 10 1607 is the first with the display-scale functions the program
// uses; these came later, and importing one would stop it starting there.
TEST_F(Executable, ImportsNothingThatWindows10Version1607Lacks) {
  for (const char* function :
       {"SetProcessDpiAwarenessContext", "GetDpiFromDpiAwarenessContext", "GetSystemDpiForProcess",
        "SetThreadDpiHostingBehavior", "GetThreadDpiHostingBehavior", "GetWindowDpiHostingBehavior",
        "SetDialogDpiChangeBehavior", "SetDialogControlDpiChangeBehavior"}) {
    EXPECT_EQ(ImporterOf(function), std::nullopt) << function;
  }
}

std::optional<std::wstring> VersionString(const std::vector<BYTE>& info, const wchar_t* name) {
  struct Translation {
    WORD language, codePage;
  }* translation = nullptr;
  UINT size = 0;
  if (!VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &size) ||
      size < sizeof *translation) {
    return std::nullopt;
  }
  wchar_t path[128];
  std::swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language,
                translation->codePage, name);
  wchar_t* value = nullptr;
  if (!VerQueryValueW(info.data(), path, reinterpret_cast<void**>(&value), &size)) {
    return std::nullopt;
  }
  return std::wstring(value);
}

// The strings are looked up the way the file's properties look them up:
// through the language its translation entry names.
TEST_F(Executable, TellsWhoMadeItAndWhatItDoes) {
  std::vector<BYTE> info(GetFileVersionInfoSizeW(TAVRIN_PROGRAM_FILE, nullptr));
  ASSERT_FALSE(info.empty());
  ASSERT_TRUE(
      GetFileVersionInfoW(TAVRIN_PROGRAM_FILE, 0, static_cast<DWORD>(info.size()), info.data()));
  const struct {
    const wchar_t* name;
    const wchar_t* value;
  } expected[] = {
      {L"CompanyName", L"Morvane"},
      {L"FileDescription", L"Tavrin network tuner for lower game latency"},
      {L"FileVersion", L"1.5.9.0"},
      {L"LegalCopyright", L"Copyright \u00A9 2026 Morvane"},
      {L"OriginalFilename", L"tavrin.exe"},
      {L"ProductName", L"Tavrin"},
      {L"ProductVersion", L"1.5.9.0"},
  };
  for (const auto& string : expected) {
    EXPECT_EQ(VersionString(info, string.name), string.value)
        << testing::PrintToString(string.name);
  }
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010005u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00090000u);
}

std::set<std::string> SupportedSystems(const std::string& manifest) {
  std::set<std::string> systems;
  const std::string tag = "<supportedOS Id=\"";
  for (auto at = manifest.find(tag); at != std::string::npos; at = manifest.find(tag, at + 1)) {
    const auto start = at + tag.size();
    systems.insert(manifest.substr(start, manifest.find('"', start) - start));
  }
  return systems;
}

// Windows 10 and 11 share one identifier; the program does not run on earlier
// versions, so it claims none of theirs.
TEST_F(Executable, ClaimsOnlyTheWindowsVersionsItRunsOn) {
  EXPECT_EQ(SupportedSystems(image_.Manifest()),
            std::set<std::string>{"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"});
}

}  // namespace
}  // namespace tavrin::test
