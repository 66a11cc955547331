#pragma once

#include <string>
#include <string_view>
#include <vector>

// The marked-up text of a markup label: "<C>" centres, "<FC:clGray>" greys
// and "<B>" bolds what they enclose; anything else is plain text.
namespace tavrin {

struct MarkupRun {
  std::wstring text;
  bool bold = false;
  bool gray = false;
  bool operator==(const MarkupRun&) const = default;
};

struct MarkupLine {
  std::vector<MarkupRun> runs;
  bool centered = false;  // any of its text lies inside <C>
  bool operator==(const MarkupLine&) const = default;
};

MarkupLine ParseMarkup(std::wstring_view markup);

// The text without its tags, as screen readers get it.
std::wstring PlainText(const MarkupLine& line);

}  // namespace tavrin
