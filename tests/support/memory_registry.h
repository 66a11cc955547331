#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sys/registry_keys.h"

namespace tavrin {

// The registry's twin in memory, for tests and hosts without one: typed values
// as raw bytes, names without letter case, missing levels created on demand,
// and HKEY_LOCAL_MACHINE\SOFTWARE seen through a 64-bit and a 32-bit view.
class MemoryRegistry final : public RegistryKeys {
 public:
  // One SetValue or DeleteValue call, as made, whatever its result.
  struct Change {
    enum class Kind { kSet, kDelete };
    Kind kind;
    std::wstring keyPath;  // e.g. L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft"
    std::wstring name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    long result = 0;
  };

  MemoryRegistry();
  ~MemoryRegistry() override;

  long CreateKey(RegHandle parent, const std::wstring& subKey, std::uint32_t access,
                 RegHandle& key) override;
  long OpenKey(RegHandle parent, const std::wstring& subKey, std::uint32_t access,
               RegHandle& key) override;
  long QueryValue(RegHandle key, const std::wstring& name, std::uint32_t* type, std::uint8_t* data,
                  std::uint32_t* size) override;
  long SetValue(RegHandle key, const std::wstring& name, std::uint32_t type,
                const std::uint8_t* data, std::uint32_t size) override;
  long DeleteValue(RegHandle key, const std::wstring& name) override;
  long CloseKey(RegHandle key) override;

  // Full paths below name the raw trees: the 32-bit view of
  // HKEY_LOCAL_MACHINE\SOFTWARE is HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node.

  // Makes opening or creating the key at this full path (and creating keys
  // below it) fail with access denied, as a key without rights would.
  void DenyAccess(const std::wstring& fullPath);
  bool KeyExists(const std::wstring& fullPath) const;
  const std::vector<Change>& Journal() const { return journal_; }
  void ClearJournal() { journal_.clear(); }
  std::size_t OpenHandleCount() const { return handles_.size(); }

 private:
  struct Node;
  struct Handle {
    Node* node;
    std::uint32_t access;
  };

  Node* RootNode(RegHandle root);
  long Resolve(RegHandle parent, const std::wstring& subKey, std::uint32_t access, bool create,
               Node*& out);
  long OpenOrCreate(RegHandle parent, const std::wstring& subKey, std::uint32_t access, bool create,
                    RegHandle& key);
  long Issue(Node* node, std::uint32_t access, RegHandle& key);
  const Handle* Find(RegHandle key) const;
  // The key's node, and whether its handle may change values.
  long Writable(RegHandle key, Node*& node) const;
  Node* FindPath(const std::wstring& fullPath) const;

  std::map<RegHandle, std::unique_ptr<Node>> roots_;
  std::map<RegHandle, Handle> handles_;
  RegHandle nextHandle_ = 0x1000;
  std::vector<Change> journal_;
};

}  // namespace tavrin
