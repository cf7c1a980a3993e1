#include "plugin/html_format.h"

#include <cstdlib>
#include <string>

#include "gtest/gtest.h"

namespace clipboard {
namespace {

// The offset written in the eight digits at `position`.
size_t OffsetAt(const std::string& document, size_t position) {
  return std::strtoul(document.substr(position, 8).c_str(), nullptr, 10);
}

TEST(HtmlFormatTest, EightByteFragmentGivesTheExactDocument) {
  const std::optional<std::string> document = BuildHtmlDocument("<b>x</b>");
  ASSERT_TRUE(document);
  EXPECT_EQ(*document,
            "Version:0.9\r\n"
            "StartHTML:00000097\r\n"
            "EndHTML:00000169\r\n"
            "StartFragment:00000129\r\n"
            "EndFragment:00000137\r\n"
            "<html><body><!--StartFragment--><b>x</b>"
            "<!--EndFragment--></body></html>");
}

// Whatever the fragment, the offsets describe the bytes of the document:
// StartHTML at "<html>", EndHTML at its end, and the fragment between
// StartFragment and EndFragment is exactly what reaches the clipboard.
TEST(HtmlFormatTest, OffsetsDescribeTheDocument) {
  struct Case {
    const char* name;
    std::string fragment;
    std::string on_clipboard;
  };
  const Case cases[] = {
      {"ascii", "<i>x</i>", "<i>x</i>"},
      {"multi-byte", "<p>\xC3\xA9 \xF0\x9F\x98\x80</p>",
       "<p>\xC3\xA9 \xF0\x9F\x98\x80</p>"},
      {"nul inside", std::string("<b>a\0b</b>", 10), "<b>a"},
      {"nul first", std::string("\0<b>", 4), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<std::string> document = BuildHtmlDocument(c.fragment);
    ASSERT_TRUE(document);
    EXPECT_EQ(document->find('\0'), std::string::npos);
    EXPECT_EQ(document->size(), 161 + c.on_clipboard.size());
    EXPECT_EQ(document->compare(0, 23, "Version:0.9\r\nStartHTML:"), 0);
    const size_t start_html = OffsetAt(*document, 23);
    const size_t end_html = OffsetAt(*document, 41);
    const size_t start_fragment = OffsetAt(*document, 65);
    const size_t end_fragment = OffsetAt(*document, 87);
    EXPECT_EQ(document->compare(start_html, 6, "<html>"), 0);
    EXPECT_EQ(end_html, document->size());
    EXPECT_EQ(document->substr(start_fragment, end_fragment - start_fragment),
              c.on_clipboard);
    EXPECT_EQ(document->compare(end_fragment, 18, "<!--EndFragment-->"), 0);
  }
}

// The header has room for 8 digits: the longest document is 99999999 bytes.
TEST(HtmlFormatTest, FragmentTooLongForTheOffsetsGivesNoDocument) {
  std::string fragment(kMaxHtmlFragmentSize + 1, 'x');
  EXPECT_FALSE(BuildHtmlDocument(fragment));

  fragment.pop_back();
  const std::optional<std::string> longest = BuildHtmlDocument(fragment);
  ASSERT_TRUE(longest);
  EXPECT_EQ(longest->size(), 99999999u);
  EXPECT_EQ(longest->substr(33, 16), "EndHTML:99999999");
  EXPECT_EQ(longest->substr(75, 20), "EndFragment:99999967");
}

}  // namespace
}  // namespace clipboard
