#include "base/system_messages.h"
#include "base/text_encoding.h"

// Other hosts speak UTF-8 and have no texts for Windows' error codes.
namespace tavrin {

std::wstring SystemNarrowToWide(std::string_view text) { return Utf8ToWide(text); }

std::optional<std::wstring> SystemErrorMessage(int) { return std::nullopt; }

}  // namespace tavrin
