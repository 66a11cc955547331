#include "widgets/markup.h"

#include <algorithm>
#include <array>
#include <optional>

#include "base/ascii_case.h"

namespace tavrin {
namespace {

enum class Attribute { kCentered, kGray, kBold };

struct Tag {
  std::wstring_view open;
  std::wstring_view close;
  Attribute attribute;
};

constexpr std::array<Tag, 3> kTags = {{
    {L"<C>", L"</C>", Attribute::kCentered},
    {L"<FC:clGray>", L"</FC>", Attribute::kGray},
    {L"<B>", L"</B>", Attribute::kBold},
}};

bool StartsWithName(std::wstring_view text, std::wstring_view prefix) {
  return text.size() >= prefix.size() &&
         EqualIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

struct TagMatch {
  Attribute attribute;
  bool opening;
  std::size_t length;
};

std::optional<TagMatch> MatchTag(std::wstring_view text) {
  for (const Tag& tag : kTags) {
    if (StartsWithName(text, tag.open)) return TagMatch{tag.attribute, true, tag.open.size()};
    if (StartsWithName(text, tag.close)) return TagMatch{tag.attribute, false, tag.close.size()};
  }
  return std::nullopt;
}

}  // namespace

MarkupLine ParseMarkup(std::wstring_view markup) {
  MarkupLine line;
  std::array<int, 3> depth{};  // open tags per attribute
  const auto open = [&depth](Attribute a) { return depth[static_cast<std::size_t>(a)] > 0; };
  MarkupRun current;
  const auto flush = [&] {
    if (!current.text.empty()) line.runs.push_back(current);
    current.text.clear();
  };
  while (!markup.empty()) {
    if (const auto tag = MatchTag(markup)) {
      flush();
      int& level = depth[static_cast<std::size_t>(tag->attribute)];
      level = tag->opening ? level + 1 : std::max(level - 1, 0);
      current.bold = open(Attribute::kBold);
      current.gray = open(Attribute::kGray);
      markup.remove_prefix(tag->length);
      continue;
    }
    if (open(Attribute::kCentered)) line.centered = true;
    current.text.push_back(markup.front());
    markup.remove_prefix(1);
  }
  flush();
  return line;
}

std::wstring PlainText(const MarkupLine& line) {
  std::wstring text;
  for (const auto& run : line.runs) text += run.text;
  return text;
}

}  // namespace tavrin
