#include "plugin/html_format.h"

namespace clipboard {
namespace {

constexpr std::string_view kHeaderTemplate =
    "Version:0.9\r\n"
    "StartHTML:00000000\r\n"
    "EndHTML:00000000\r\n"
    "StartFragment:00000000\r\n"
    "EndFragment:00000000\r\n";
constexpr std::string_view kPageStart = "<html><body><!--StartFragment-->";
constexpr std::string_view kPageEnd = "<!--EndFragment--></body></html>";

static_assert(kHeaderTemplate.size() == kHtmlHeaderSize);
static_assert(kHeaderTemplate.size() + kPageStart.size() + kPageEnd.size() ==
              kHtmlDocumentOverhead);

// Where the four runs of eight digits sit in the header.
constexpr size_t kStartHtmlDigits = 23;
constexpr size_t kEndHtmlDigits = 41;
constexpr size_t kStartFragmentDigits = 65;
constexpr size_t kEndFragmentDigits = 87;
constexpr size_t kDigits = 8;

// Overwrites the eight digits at `position` with `value`, zero-padded.
void WriteOffset(std::string& document, size_t position, size_t value) {
  for (size_t i = kDigits; i > 0; --i) {
    document[position + i - 1] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
}

}  // namespace

std::optional<std::string> BuildHtmlDocument(std::string_view fragment) {
  fragment = fragment.substr(0, fragment.find('\0'));
  if (fragment.size() > kMaxHtmlFragmentSize) return std::nullopt;

  std::string document;
  document.reserve(kHtmlDocumentOverhead + fragment.size());
  document.append(kHeaderTemplate);
  document.append(kPageStart);
  document.append(fragment);
  document.append(kPageEnd);

  const size_t start_fragment = kHtmlHeaderSize + kPageStart.size();
  WriteOffset(document, kStartHtmlDigits, kHtmlHeaderSize);
  WriteOffset(document, kEndHtmlDigits, document.size());
  WriteOffset(document, kStartFragmentDigits, start_fragment);
  WriteOffset(document, kEndFragmentDigits, start_fragment + fragment.size());
  return document;
}

}  // namespace clipboard
