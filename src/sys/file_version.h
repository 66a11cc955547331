#pragma once

#include <array>
#include <string>

// File versions, the running executable's first.
namespace tavrin {

// The running executable's file version in `format`, whose "%d"s take major,
// minor, release and build in turn; "0.0.0.0" when it cannot be read.
std::wstring GetAppVersion(const std::wstring& format);
// The same for any executable file.
std::wstring GetFileVersion(const std::wstring& path, const std::wstring& format);

// Fills each "%d" of `format` with the next part; a format is never
// interpreted beyond that, so no text can make it read what is not there.
std::wstring FormatVersion(const std::wstring& format, const std::array<unsigned, 4>& parts);

}  // namespace tavrin
