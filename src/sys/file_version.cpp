#include "sys/file_version.h"

namespace tavrin {

std::wstring FormatVersion(const std::wstring& format, const std::array<unsigned, 4>& parts) {
  std::wstring text;
  std::size_t next = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format.compare(i, 2, L"%d") == 0 && next < parts.size()) {
      text += std::to_wstring(parts[next++]);
      ++i;
    } else {
      text += format[i];
    }
  }
  return text;
}

}  // namespace tavrin
