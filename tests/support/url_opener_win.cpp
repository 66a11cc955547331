#include "support/url_opener_win.h"

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace tavrin::test {
namespace {

using namespace std::chrono_literals;

constexpr const wchar_t* kCommandKeys[] = {L"Software\\Classes\\http\\shell\\open\\command",
                                           L"Software\\Classes\\https\\shell\\open\\command"};

std::wstring Log() {
  const std::wstring recorder = TAVRIN_URL_RECORDER;
  return recorder.substr(0, recorder.rfind(L'\\') + 1) + L"opened-urls.txt";
}

std::wstring DefaultValue(const wchar_t* key) {
  wchar_t value[1024] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key, nullptr, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  return value;
}

void SetDefaultValue(const wchar_t* key, const std::wstring& value) {
  RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, nullptr, REG_SZ, value.c_str(),
                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

std::vector<std::wstring> ReadLog() {
  std::ifstream in(std::filesystem::path(Log()), std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
  bytes.copy(reinterpret_cast<char*>(text.data()), text.size() * sizeof(wchar_t));
  std::vector<std::wstring> urls;
  for (std::size_t begin = 0, end; (end = text.find(L'\n', begin)) != text.npos; begin = end + 1) {
    urls.push_back(text.substr(begin, end - begin));
  }
  return urls;
}

}  // namespace

RecordingUrlOpener::RecordingUrlOpener() {
  DeleteFileW(Log().c_str());
  const std::wstring command = L"\"" + std::wstring(TAVRIN_URL_RECORDER) + L"\" \"%1\"";
  for (const wchar_t* key : kCommandKeys) {
    saved_.emplace_back(key, DefaultValue(key));
    SetDefaultValue(key, command);
  }
}

RecordingUrlOpener::~RecordingUrlOpener() {
  for (const auto& [key, previous] : saved_) SetDefaultValue(key.c_str(), previous);
}

std::vector<std::wstring> RecordingUrlOpener::Opened(std::size_t count,
                                                     std::chrono::milliseconds limit) const {
  const auto end = std::chrono::steady_clock::now() + limit;
  std::vector<std::wstring> urls;
  while ((urls = ReadLog()).size() < count && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(50ms);
  }
  return urls;
}

}  // namespace tavrin::test
