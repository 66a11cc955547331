#include "base/text_encoding.h"

namespace tavrin {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendCodePoint(std::wstring& out, char32_t cp) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
      return;
    }
  }
  out.push_back(static_cast<wchar_t>(cp));
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

bool IsSurrogate(char32_t cp) { return cp >= 0xD800 && cp <= 0xDFFF; }

}  // namespace

std::wstring Utf8ToWide(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    int length = 0;
    char32_t cp = 0;
    char32_t lowest = 0;
    if (lead < 0x80) {
      length = 1, cp = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, cp = lead & 0x1F, lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, cp = lead & 0x0F, lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, cp = lead & 0x07, lowest = 0x10000;
    }
    if (length == 0) {
      out.push_back(static_cast<wchar_t>(kReplacement));
      ++i;
      continue;
    }
    // Take continuation bytes while they fit; a broken sequence becomes one
    // U+FFFD and decoding resumes at the byte that broke it.
    int taken = 1;
    while (taken < length && i + taken < bytes.size() &&
           (static_cast<unsigned char>(bytes[i + taken]) & 0xC0) == 0x80) {
      cp = (cp << 6) | (static_cast<unsigned char>(bytes[i + taken]) & 0x3F);
      ++taken;
    }
    if (taken < length || cp < lowest || cp > 0x10FFFF || IsSurrogate(cp)) {
      out.push_back(static_cast<wchar_t>(kReplacement));
    } else {
      AppendCodePoint(out, cp);
    }
    i += taken;
  }
  return out;
}

std::string WideToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t cp = static_cast<char32_t>(text[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      cp &= 0xFFFF;
      if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size()) {
        const char32_t low = static_cast<char32_t>(text[i + 1]) & 0xFFFF;
        if (low >= 0xDC00 && low <= 0xDFFF) {
          cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          ++i;
        }
      }
    }
    if (IsSurrogate(cp) || cp > 0x10FFFF) cp = kReplacement;
    AppendUtf8(out, cp);
  }
  return out;
}

std::wstring Utf16LeToWide(const std::uint8_t* bytes, std::size_t size) {
  std::wstring out;
  out.reserve(size / 2);
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const char32_t unit = bytes[i] | (bytes[i + 1] << 8);
    if constexpr (sizeof(wchar_t) == 4) {
      if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < size) {
        const char32_t low = bytes[i + 2] | (bytes[i + 3] << 8);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          out.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
          i += 2;
          continue;
        }
      }
    }
    out.push_back(static_cast<wchar_t>(unit));
  }
  return out;
}

std::vector<std::uint8_t> WideToUtf16Le(std::wstring_view text) {
  std::vector<std::uint8_t> out;
  out.reserve(text.size() * 2);
  const auto push = [&out](char32_t unit) {
    out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    out.push_back(static_cast<std::uint8_t>((unit >> 8) & 0xFF));
  };
  for (const wchar_t c : text) {
    const auto cp = static_cast<char32_t>(c);
    if (sizeof(wchar_t) == 4 && cp >= 0x10000) {
      push(0xD800 + ((cp - 0x10000) >> 10));
      push(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      push(cp);
    }
  }
  return out;
}

}  // namespace tavrin
