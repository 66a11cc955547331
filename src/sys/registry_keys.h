#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>

// The registry's key operations, mirroring advapi32 call for call, so that the
// logic above runs the same against Windows and against MemoryRegistry.
namespace tavrin {

// An HKEY's bits. Predefined roots are 0x80000000 plus their index.
using RegHandle = std::uintptr_t;

namespace reg {
inline constexpr RegHandle kClassesRoot = 0x80000000;
inline constexpr RegHandle kCurrentUser = 0x80000001;
inline constexpr RegHandle kLocalMachine = 0x80000002;
inline constexpr RegHandle kUsers = 0x80000003;
inline constexpr RegHandle kPerformanceData = 0x80000004;
inline constexpr RegHandle kCurrentConfig = 0x80000005;
inline constexpr RegHandle kDynData = 0x80000006;

inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWrite = 0x20006;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;
inline constexpr std::uint32_t kWow64_64Key = 0x0100;
inline constexpr std::uint32_t kWow64_32Key = 0x0200;

inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kSz = 1;
inline constexpr std::uint32_t kExpandSz = 2;
inline constexpr std::uint32_t kBinary = 3;
inline constexpr std::uint32_t kDword = 4;
inline constexpr std::uint32_t kDwordBigEndian = 5;

// Win32 error codes, as the registry functions return them.
inline constexpr long kSuccess = 0;
inline constexpr long kFileNotFound = 2;
inline constexpr long kAccessDenied = 5;
inline constexpr long kInvalidHandle = 6;
inline constexpr long kMoreData = 234;

// REG_DWORD data: the two's-complement bits, little-endian.
inline std::array<std::uint8_t, 4> DwordBytes(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  return {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
          static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
}
inline std::int32_t DwordFromBytes(const std::uint8_t* data) {
  return static_cast<std::int32_t>(data[0] | (data[1] << 8) | (data[2] << 16) |
                                   (static_cast<std::uint32_t>(data[3]) << 24));
}
}  // namespace reg

class RegistryKeys {
 public:
  virtual ~RegistryKeys() = default;

  // RegCreateKeyExW: opens or creates subKey and any missing level above it.
  virtual long CreateKey(RegHandle parent, const std::wstring& subKey, std::uint32_t access,
                         RegHandle& key) = 0;
  // RegOpenKeyExW: an empty subKey opens the parent itself.
  virtual long OpenKey(RegHandle parent, const std::wstring& subKey, std::uint32_t access,
                       RegHandle& key) = 0;
  // RegQueryValueExW: data may be null to ask for type and size only; size is
  // in/out, and a short buffer gives kMoreData with the needed size.
  virtual long QueryValue(RegHandle key, const std::wstring& name, std::uint32_t* type,
                          std::uint8_t* data, std::uint32_t* size) = 0;
  virtual long SetValue(RegHandle key, const std::wstring& name, std::uint32_t type,
                        const std::uint8_t* data, std::uint32_t size) = 0;
  virtual long DeleteValue(RegHandle key, const std::wstring& name) = 0;
  virtual long CloseKey(RegHandle key) = 0;
};

// Owns one open key and closes it when it goes.
class ScopedKey {
 public:
  explicit ScopedKey(RegistryKeys& keys) : keys_(&keys) {}
  ScopedKey(ScopedKey&& other) noexcept
      : keys_(other.keys_), handle_(std::exchange(other.handle_, 0)) {}
  ScopedKey& operator=(ScopedKey&& other) noexcept {
    if (this != &other) {
      Close();
      keys_ = other.keys_;
      handle_ = std::exchange(other.handle_, 0);
    }
    return *this;
  }
  ScopedKey(const ScopedKey&) = delete;
  ScopedKey& operator=(const ScopedKey&) = delete;
  ~ScopedKey() { Close(); }

  long Create(RegHandle parent, const std::wstring& subKey, std::uint32_t access) {
    Close();
    return keys_->CreateKey(parent, subKey, access, handle_);
  }
  long Open(RegHandle parent, const std::wstring& subKey, std::uint32_t access) {
    Close();
    return keys_->OpenKey(parent, subKey, access, handle_);
  }
  void Close() {
    if (handle_ != 0) keys_->CloseKey(std::exchange(handle_, 0));
  }

  bool IsOpen() const { return handle_ != 0; }
  RegHandle Get() const { return handle_; }
  RegistryKeys& Keys() const { return *keys_; }

 private:
  RegistryKeys* keys_;
  RegHandle handle_ = 0;
};

// The machine's registry (Windows builds only).
RegistryKeys& SystemRegistry();

}  // namespace tavrin
