#include "support/memory_registry.h"

#include <algorithm>
#include <cwctype>

#include "sys/registry.h"

namespace tavrin {
namespace {

constexpr std::uint32_t kKeyQueryValue = 0x0001;
constexpr std::uint32_t kKeySetValue = 0x0002;
constexpr long kBadPathname = 161;
constexpr wchar_t kWow64Node[] = L"Wow6432Node";

std::wstring Folded(const std::wstring& text) {
  std::wstring folded = text;
  std::transform(folded.begin(), folded.end(), folded.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return folded;
}

// Splits "a\b\c" into its levels; an empty level (leading or doubled
// backslash) is an error, as it is for the real registry.
bool SplitLevels(const std::wstring& path, std::vector<std::wstring>& levels) {
  levels.clear();
  if (path.empty()) return true;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = path.find(L'\\', start);
    const std::wstring level = path.substr(start, end - start);
    if (end == std::wstring::npos) {
      if (!level.empty()) levels.push_back(level);
      return true;
    }
    if (level.empty()) return false;
    levels.push_back(level);
    start = end + 1;
  }
}

}  // namespace

struct MemoryRegistry::Node {
  struct Value {
    std::wstring name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
  };

  std::wstring path;
  bool denied = false;
  std::map<std::wstring, std::unique_ptr<Node>> children;  // by folded name
  std::map<std::wstring, Value> values;                    // by folded name

  Node* Child(const std::wstring& name) const {
    const auto found = children.find(Folded(name));
    return found == children.end() ? nullptr : found->second.get();
  }
  Node* AddChild(const std::wstring& name) {
    auto node = std::make_unique<Node>();
    node->path = path + L"\\" + name;
    return (children[Folded(name)] = std::move(node)).get();
  }
};

MemoryRegistry::MemoryRegistry() {
  for (std::size_t i = 0; i < RootKeyNames.size(); ++i) {
    auto node = std::make_unique<Node>();
    node->path = std::wstring(RootKeyNames[i]);
    roots_[reg::kClassesRoot + i] = std::move(node);
  }
}

MemoryRegistry::~MemoryRegistry() = default;

MemoryRegistry::Node* MemoryRegistry::RootNode(RegHandle root) {
  const auto found = roots_.find(root);
  return found == roots_.end() ? nullptr : found->second.get();
}

long MemoryRegistry::Resolve(RegHandle parent, const std::wstring& subKey, std::uint32_t access,
                             bool create, Node*& out) {
  Node* node = nullptr;
  const bool fromRoot = roots_.count(parent) != 0;
  if (fromRoot) {
    node = RootNode(parent);
  } else if (const Handle* handle = Find(parent)) {
    node = handle->node;
  }
  if (node == nullptr) return reg::kInvalidHandle;

  std::vector<std::wstring> levels;
  if (!SplitLevels(subKey, levels)) return kBadPathname;
  // A 32-bit program sees HKLM\SOFTWARE's 32-bit copy unless it asks for the
  // 64-bit view.
  if (fromRoot && parent == reg::kLocalMachine && !levels.empty() &&
      Folded(levels[0]) == L"software" && (access & reg::kWow64_64Key) == 0) {
    levels.insert(levels.begin() + 1, kWow64Node);
  }
  for (const std::wstring& level : levels) {
    Node* child = node->Child(level);
    if (child == nullptr) {
      if (!create) return reg::kFileNotFound;
      if (node->denied) return reg::kAccessDenied;
      child = node->AddChild(level);
    }
    node = child;
  }
  if (node->denied) return reg::kAccessDenied;
  out = node;
  return reg::kSuccess;
}

long MemoryRegistry::Issue(Node* node, std::uint32_t access, RegHandle& key) {
  key = nextHandle_;
  nextHandle_ += 4;
  handles_[key] = Handle{node, access};
  return reg::kSuccess;
}

const MemoryRegistry::Handle* MemoryRegistry::Find(RegHandle key) const {
  const auto found = handles_.find(key);
  return found == handles_.end() ? nullptr : &found->second;
}

long MemoryRegistry::OpenOrCreate(RegHandle parent, const std::wstring& subKey,
                                  std::uint32_t access, bool create, RegHandle& key) {
  key = 0;
  Node* node = nullptr;
  const long rc = Resolve(parent, subKey, access, create, node);
  return rc == reg::kSuccess ? Issue(node, access, key) : rc;
}

long MemoryRegistry::CreateKey(RegHandle parent, const std::wstring& subKey, std::uint32_t access,
                               RegHandle& key) {
  return OpenOrCreate(parent, subKey, access, true, key);
}

long MemoryRegistry::OpenKey(RegHandle parent, const std::wstring& subKey, std::uint32_t access,
                             RegHandle& key) {
  return OpenOrCreate(parent, subKey, access, false, key);
}

long MemoryRegistry::QueryValue(RegHandle key, const std::wstring& name, std::uint32_t* type,
                                std::uint8_t* data, std::uint32_t* size) {
  const Handle* handle = Find(key);
  if (handle == nullptr) return reg::kInvalidHandle;
  if ((handle->access & kKeyQueryValue) == 0) return reg::kAccessDenied;
  const auto found = handle->node->values.find(Folded(name));
  if (found == handle->node->values.end()) return reg::kFileNotFound;

  const Node::Value& value = found->second;
  const auto needed = static_cast<std::uint32_t>(value.data.size());
  if (type) *type = value.type;
  if (data == nullptr) {
    if (size) *size = needed;
    return reg::kSuccess;
  }
  if (size == nullptr) return reg::kInvalidHandle;
  const std::uint32_t room = *size;
  *size = needed;
  if (room < needed) return reg::kMoreData;
  std::copy(value.data.begin(), value.data.end(), data);
  return reg::kSuccess;
}

long MemoryRegistry::Writable(RegHandle key, Node*& node) const {
  const Handle* handle = Find(key);
  node = handle ? handle->node : nullptr;
  if (handle == nullptr) return reg::kInvalidHandle;
  return (handle->access & kKeySetValue) == 0 ? reg::kAccessDenied : reg::kSuccess;
}

long MemoryRegistry::SetValue(RegHandle key, const std::wstring& name, std::uint32_t type,
                              const std::uint8_t* data, std::uint32_t size) {
  Node* node = nullptr;
  const long rc = Writable(key, node);
  if (rc == reg::kSuccess)
    node->values[Folded(name)] = Node::Value{name, type, {data, data + size}};
  journal_.push_back(
      {Change::Kind::kSet, node ? node->path : L"", name, type, {data, data + size}, rc});
  return rc;
}

long MemoryRegistry::DeleteValue(RegHandle key, const std::wstring& name) {
  Node* node = nullptr;
  long rc = Writable(key, node);
  if (rc == reg::kSuccess && node->values.erase(Folded(name)) == 0) rc = reg::kFileNotFound;
  journal_.push_back({Change::Kind::kDelete, node ? node->path : L"", name, 0, {}, rc});
  return rc;
}

long MemoryRegistry::CloseKey(RegHandle key) {
  if (roots_.count(key)) return reg::kSuccess;
  return handles_.erase(key) ? reg::kSuccess : reg::kInvalidHandle;
}

MemoryRegistry::Node* MemoryRegistry::FindPath(const std::wstring& fullPath) const {
  const std::size_t slash = fullPath.find(L'\\');
  const RegHandle root = RootKeyFromName(fullPath.substr(0, slash));
  const auto found = roots_.find(root);
  if (found == roots_.end()) return nullptr;
  Node* node = found->second.get();
  std::vector<std::wstring> levels;
  if (slash != std::wstring::npos && !SplitLevels(fullPath.substr(slash + 1), levels)) {
    return nullptr;
  }
  for (const std::wstring& level : levels) {
    node = node->Child(level);
    if (node == nullptr) return nullptr;
  }
  return node;
}

void MemoryRegistry::DenyAccess(const std::wstring& fullPath) {
  RegHandle key = 0;
  const std::size_t slash = fullPath.find(L'\\');
  const RegHandle root = RootKeyFromName(fullPath.substr(0, slash));
  const std::wstring sub = slash == std::wstring::npos ? L"" : fullPath.substr(slash + 1);
  if (CreateKey(root, sub, reg::kKeyAllAccess | reg::kWow64_64Key, key) == reg::kSuccess) {
    handles_.at(key).node->denied = true;
    CloseKey(key);
  }
}

bool MemoryRegistry::KeyExists(const std::wstring& fullPath) const {
  return FindPath(fullPath) != nullptr;
}

}  // namespace tavrin
