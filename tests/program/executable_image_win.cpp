#include "program/executable_image_win.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace tavrin::test {
namespace {

std::string Lowercase(std::string text) {
  std::ranges::transform(text, text.begin(),
                         [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

const IMAGE_NT_HEADERS32& HeadersAt(const BYTE* base) {
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  return *reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
}

// Names from an import name table; imports by ordinal have none.
std::vector<std::string> NamedFunctions(const BYTE* base, DWORD table) {
  std::vector<std::string> names;
  for (auto* entry = reinterpret_cast<const IMAGE_THUNK_DATA32*>(base + table);
       entry->u1.AddressOfData; ++entry) {
    if (IMAGE_SNAP_BY_ORDINAL32(entry->u1.Ordinal)) continue;
    names.emplace_back(
        reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + entry->u1.AddressOfData)->Name);
  }
  return names;
}

int EmptySlots(const BYTE* base, DWORD names, DWORD addresses) {
  int empty = 0;
  const auto* slot = reinterpret_cast<const IMAGE_THUNK_DATA32*>(base + addresses);
  for (auto* name = reinterpret_cast<const IMAGE_THUNK_DATA32*>(base + names);
       name->u1.AddressOfData; ++name, ++slot) {
    if (!slot->u1.Function) ++empty;
  }
  return empty;
}

void AddStaticImports(const BYTE* base, std::vector<ImportedDll>& imports) {
  const IMAGE_DATA_DIRECTORY& directory =
      HeadersAt(base).OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!directory.VirtualAddress) return;
  for (auto* entry =
           reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
       entry->Name; ++entry) {
    const DWORD table = entry->OriginalFirstThunk ? entry->OriginalFirstThunk : entry->FirstThunk;
    imports.push_back({Lowercase(reinterpret_cast<const char*>(base + entry->Name)),
                       NamedFunctions(base, table), false,
                       EmptySlots(base, table, entry->FirstThunk)});
  }
}

bool WithinImage(const BYTE* base, DWORD rva) {
  return rva && rva < HeadersAt(base).OptionalHeader.SizeOfImage;
}

// A DLL's file name: letters, digits, '_', '-', '.', ending in ".dll".
bool LooksLikeDllName(const BYTE* base, DWORD rva) {
  const DWORD size = HeadersAt(base).OptionalHeader.SizeOfImage;
  std::string name;
  for (DWORD at = rva; at < size && base[at] && name.size() < MAX_PATH; ++at) {
    const char c = static_cast<char>(base[at]);
    if (!std::isalnum(static_cast<unsigned char>(c)) && !std::strchr("_-.", c)) return false;
    name += c;
  }
  return name.size() > 4 && Lowercase(name).ends_with(".dll");
}

// The GNU linker leaves the delay-import directory entry empty, so the
// descriptors are found by their shape: RVA-based, naming a DLL, with their
// handle, address table and name table inside the image.
void AddDelayedImports(const BYTE* base, std::vector<ImportedDll>& imports) {
  const IMAGE_NT_HEADERS32& headers = HeadersAt(base);
  const auto* section = IMAGE_FIRST_SECTION(&headers);
  for (WORD i = 0; i < headers.FileHeader.NumberOfSections; ++i, ++section) {
    const DWORD size = std::min(section->Misc.VirtualSize, section->SizeOfRawData);
    for (DWORD at = section->VirtualAddress;
         at + sizeof(IMAGE_DELAYLOAD_DESCRIPTOR) <= section->VirtualAddress + size;
         at += sizeof(DWORD)) {
      const auto* d = reinterpret_cast<const IMAGE_DELAYLOAD_DESCRIPTOR*>(base + at);
      if (d->Attributes.AllAttributes != 1 || !WithinImage(base, d->ModuleHandleRVA) ||
          !WithinImage(base, d->ImportAddressTableRVA) ||
          !WithinImage(base, d->ImportNameTableRVA) || !WithinImage(base, d->DllNameRVA) ||
          !LooksLikeDllName(base, d->DllNameRVA)) {
        continue;
      }
      imports.push_back({Lowercase(reinterpret_cast<const char*>(base + d->DllNameRVA)),
                         NamedFunctions(base, d->ImportNameTableRVA), true,
                         EmptySlots(base, d->ImportNameTableRVA, d->ImportAddressTableRVA)});
    }
  }
}

std::vector<ImportedDll> ImportsAt(const BYTE* base) {
  std::vector<ImportedDll> imports;
  AddStaticImports(base, imports);
  AddDelayedImports(base, imports);
  return imports;
}

}  // namespace

ExecutableImage::ExecutableImage(const std::wstring& file)
    : module_(LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {
  // The handle of a resource mapping carries flags in its low bits.
  if (module_)
    base_ = reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(module_) & ~ULONG_PTR{3});
}

ExecutableImage::~ExecutableImage() {
  if (module_) FreeLibrary(module_);
}

const IMAGE_NT_HEADERS32& ExecutableImage::Headers() const { return HeadersAt(base_); }

std::vector<ImportedDll> ExecutableImage::Imports() const { return ImportsAt(base_); }

std::string ExecutableImage::Manifest() const {
  const HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(1), RT_MANIFEST);
  const HGLOBAL loaded = found ? LoadResource(module_, found) : nullptr;
  if (!loaded) return {};
  return std::string(static_cast<const char*>(LockResource(loaded)),
                     SizeofResource(module_, found));
}

std::vector<ImportedDll> ImportsOf(HMODULE module) {
  return ImportsAt(reinterpret_cast<const BYTE*>(module));
}

bool IsKnownDll(const std::string& name) {
  // Only entries present in every release since 1607; a DLL missing here is
  // treated as one that a planted copy could replace, which errs safe.
  static const std::set<std::string> known = {
      "advapi32.dll", "clbcatq.dll",  "combase.dll", "comdlg32.dll", "coml2.dll",   "difxapi.dll",
      "gdi32.dll",    "imagehlp.dll", "imm32.dll",   "kernel32.dll", "msctf.dll",   "msvcrt.dll",
      "normaliz.dll", "nsi.dll",      "ole32.dll",   "oleaut32.dll", "psapi.dll",   "rpcrt4.dll",
      "sechost.dll",  "setupapi.dll", "shcore.dll",  "shell32.dll",  "shlwapi.dll", "user32.dll",
      "wldap32.dll",  "ws2_32.dll"};
  return known.contains(Lowercase(name));
}

std::set<std::string> ImportedWithin(const std::vector<std::string>& modules) {
  std::set<std::string> seen;
  std::vector<std::string> pending = modules;
  while (!pending.empty()) {
    const std::string name = Lowercase(pending.back());
    pending.pop_back();
    const HMODULE module = LoadLibraryExA(name.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) continue;
    for (const ImportedDll& dll : ImportsOf(module)) {
      if (!dll.delayed && seen.insert(dll.name).second) pending.push_back(dll.name);
    }
    FreeLibrary(module);
  }
  return seen;
}

}  // namespace tavrin::test
