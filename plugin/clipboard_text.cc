#include "plugin/clipboard_text.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "plugin/win_handles.h"

namespace clipboard {
namespace {

// The UTF-16 units of `text` up to its first NUL, followed by a NUL unit;
// empty when the conversion fails.
std::vector<wchar_t> ToUtf16WithNul(const std::string& text) {
  const int units =
      MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  if (units <= 0) return {};
  std::vector<wchar_t> wide(static_cast<size_t>(units), L'\0');
  if (MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), units) !=
      units) {
    return {};
  }
  return wide;
}

// `length` UTF-16 units (no NUL among them) as UTF-8.
std::string ToUtf8(const wchar_t* units, size_t length) {
  // The converter counts in int; text that long is no clipboard text we can
  // hand over anyway.
  if (length == 0 || length > INT_MAX) return "";
  const int wide_length = static_cast<int>(length);
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, units, wide_length, nullptr,
                                        0, nullptr, nullptr);
  if (bytes <= 0) return "";
  std::string text(static_cast<size_t>(bytes), '\0');
  if (WideCharToMultiByte(CP_UTF8, 0, units, wide_length, text.data(), bytes,
                          nullptr, nullptr) != bytes) {
    return "";
  }
  return text;
}

}  // namespace

void PutUnicodeTextOnClipboard(const std::string& text) {
  const std::vector<wchar_t> wide = ToUtf16WithNul(text);
  if (wide.empty()) return;
  const size_t size = wide.size() * sizeof(wchar_t);
  UniqueHGlobal block = AllocateMovable(size);
  if (!block) return;
  {
    GlobalLockGuard lock(block.get());
    if (!lock) return;
    std::memcpy(lock.data(), wide.data(), size);
  }
  HandOverToClipboard(CF_UNICODETEXT, block);
}

std::string ReadUnicodeTextFromClipboard() {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return "";
  HANDLE handle = GetClipboardData(CF_UNICODETEXT);
  if (!handle) return "";
  GlobalLockGuard lock(handle);
  if (!lock) return "";
  // Other programs may leave out the NUL unit: stay inside the block.
  const auto* units = static_cast<const wchar_t*>(lock.data());
  const wchar_t* end = units + lock.size() / sizeof(wchar_t);
  return ToUtf8(units,
                static_cast<size_t>(std::find(units, end, L'\0') - units));
}

}  // namespace clipboard
