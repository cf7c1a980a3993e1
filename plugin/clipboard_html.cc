#include "plugin/clipboard_html.h"

#include <cstring>
#include <optional>

#include "plugin/html_format.h"
#include "plugin/win_handles.h"

namespace clipboard {

void PutHtmlOnClipboard(const std::string& fragment) {
  const UINT format = RegisterClipboardFormatA(kHtmlFormatName);
  if (format == 0) return;
  const std::optional<std::string> document = BuildHtmlDocument(fragment);
  if (!document) return;
  const size_t size = document->size() + 1;  // with the NUL
  UniqueHGlobal block = AllocateMovable(size);
  if (!block) return;
  {
    GlobalLockGuard lock(block.get());
    if (!lock) return;
    std::memcpy(lock.data(), document->c_str(), size);
  }
  HandOverToClipboard(format, block);
}

std::string ReadHtmlFromClipboard() {
  const UINT format = RegisterClipboardFormatA(kHtmlFormatName);
  if (format == 0 || !IsClipboardFormatAvailable(format)) return "";
  HANDLE handle = GetClipboardData(format);
  if (!handle) return "";
  GlobalLockGuard lock(handle);
  if (!lock) return "";
  // Other programs may leave out the NUL: stay inside the block.
  const auto* bytes = static_cast<const char*>(lock.data());
  const void* nul = std::memchr(bytes, '\0', lock.size());
  const size_t length =
      nul ? static_cast<size_t>(static_cast<const char*>(nul) - bytes)
          : lock.size();
  return std::string(bytes, length);
}

}  // namespace clipboard
