#ifndef PLUGIN_HTML_FORMAT_H_
#define PLUGIN_HTML_FORMAT_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace clipboard {

// The name under which the HTML clipboard format is registered.
inline constexpr char kHtmlFormatName[] = "HTML Format";

// Bytes that the document adds around a fragment: the 97-byte header, the
// 32-byte page start and the 32-byte page end (the NUL not counted).
inline constexpr size_t kHtmlHeaderSize = 97;
inline constexpr size_t kHtmlDocumentOverhead = 161;

// The longest fragment whose document length still fits the header's
// 8-digit offsets.
inline constexpr size_t kMaxHtmlFragmentSize = 99999999 - kHtmlDocumentOverhead;

// The "HTML Format" document (version 0.9) that brackets `fragment`: the
// header with StartHTML, EndHTML, StartFragment and EndFragment as 8-digit
// byte offsets, then "<html><body><!--StartFragment-->", the fragment and
// "<!--EndFragment--></body></html>". The returned string holds no NUL; the
// clipboard block adds one.
//
// The fragment ends at its first NUL byte, as plain text does, so that the
// offsets always describe the bytes that reach the clipboard. No document
// for a fragment longer than kMaxHtmlFragmentSize.
std::optional<std::string> BuildHtmlDocument(std::string_view fragment);

}  // namespace clipboard

#endif  // PLUGIN_HTML_FORMAT_H_
