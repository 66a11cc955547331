#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <vector>

namespace tavrin::test {

struct ImportedDll {
  std::string name;                    // in lower case, e.g. "version.dll"
  std::vector<std::string> functions;  // those imported by name
  bool delayed = false;
  int emptySlots = 0;  // address slots holding nothing to call before binding
};

// An executable file mapped the way the loader maps it, for reading only:
// none of its code runs and none of its imports load.
class ExecutableImage {
 public:
  explicit ExecutableImage(const std::wstring& file);
  ~ExecutableImage();
  ExecutableImage(const ExecutableImage&) = delete;
  ExecutableImage& operator=(const ExecutableImage&) = delete;

  bool Mapped() const { return base_ != nullptr; }
  const IMAGE_NT_HEADERS32& Headers() const;
  std::vector<ImportedDll> Imports() const;
  // What the manifest resource says, as text.
  std::string Manifest() const;

 private:
  HMODULE module_;
  const BYTE* base_ = nullptr;
};

// The imports of a module loaded in this process, delayed ones included.
std::vector<ImportedDll> ImportsOf(HMODULE module);

// DLLs that Windows 10 1607 and later always take from the system directory
// (the KnownDLLs list), so a copy elsewhere can never stand in for them.
bool IsKnownDll(const std::string& name);

// The DLLs that this system's copies of these modules import at load time,
// and those import in turn.
std::set<std::string> ImportedWithin(const std::vector<std::string>& modules);

}  // namespace tavrin::test
