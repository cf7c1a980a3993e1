#ifndef TESTS_PLUGIN_CLIPBOARD_PROBE_H_
#define TESTS_PLUGIN_CLIPBOARD_PROBE_H_

// The test's own view of the system clipboard, through plain Win32 calls and
// independent of the plug-in's code. Each function opens and closes the
// clipboard itself.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>
#include <future>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace clipboard_test {

using Bytes = std::vector<uint8_t>;

// The number of the registered "HTML Format".
UINT HtmlFormat();

// Empties the clipboard.
void EmptyTheClipboard();

// Replaces the clipboard's content with one block per (format, bytes), in
// order, as another program would place them.
void PutBlocks(const std::vector<std::pair<UINT, Bytes>>& blocks);
inline void PutBlock(UINT format, const Bytes& bytes) {
  PutBlocks({{format, bytes}});
}
// Places `text` (ASCII) as CF_UNICODETEXT with its NUL unit.
void PutText(const std::string& text);

// The whole block of `format`, GlobalSize bytes long; none when the format
// is not on the clipboard.
std::optional<Bytes> ReadBlock(UINT format);

// Which of `formats` the clipboard offers, in the clipboard's own order.
std::vector<UINT> OfferedAmong(const std::vector<UINT>& formats);

// The bytes of a string, and the UTF-16LE bytes of a wide string.
Bytes BytesOf(const std::string& text);
Bytes Utf16Bytes(const std::wstring& text);

// Another program holding the clipboard open: a thread that opens it with a
// window of its own and keeps it open until this object goes.
class ClipboardHolder {
 public:
  ClipboardHolder();
  ~ClipboardHolder();
  ClipboardHolder(const ClipboardHolder&) = delete;
  ClipboardHolder& operator=(const ClipboardHolder&) = delete;

  // Whether the thread got the clipboard.
  bool holding() const { return holding_; }

 private:
  std::promise<void> release_;
  std::thread thread_;
  bool holding_ = false;
};

}  // namespace clipboard_test

#endif  // TESTS_PLUGIN_CLIPBOARD_PROBE_H_
