#include "tests/plugin/clipboard_probe.h"

#include <cstring>

namespace clipboard_test {
namespace {

class Session {
 public:
  Session() : open_(OpenClipboard(nullptr) != FALSE) {}
  ~Session() {
    if (open_) CloseClipboard();
  }
  bool open() const { return open_; }

 private:
  bool open_;
};

}  // namespace

UINT HtmlFormat() { return RegisterClipboardFormatA("HTML Format"); }

void EmptyTheClipboard() {
  Session session;
  if (session.open()) EmptyClipboard();
}

void PutBlocks(const std::vector<std::pair<UINT, Bytes>>& blocks) {
  Session session;
  if (!session.open()) return;
  EmptyClipboard();
  for (const auto& [format, bytes] : blocks) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!block) continue;
    if (void* data = GlobalLock(block)) {
      if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
      GlobalUnlock(block);
    }
    if (!SetClipboardData(format, block)) GlobalFree(block);
  }
}

void PutText(const std::string& text) {
  std::wstring wide(text.begin(), text.end());
  Bytes bytes = Utf16Bytes(wide);
  bytes.push_back(0);
  bytes.push_back(0);
  PutBlock(CF_UNICODETEXT, bytes);
}

std::optional<Bytes> ReadBlock(UINT format) {
  Session session;
  if (!session.open() || !IsClipboardFormatAvailable(format)) return {};
  HANDLE handle = GetClipboardData(format);
  if (!handle) return {};
  Bytes bytes(GlobalSize(handle));
  if (void* data = GlobalLock(handle)) {
    if (!bytes.empty()) std::memcpy(bytes.data(), data, bytes.size());
    GlobalUnlock(handle);
  }
  return bytes;
}

std::vector<UINT> OfferedAmong(const std::vector<UINT>& formats) {
  std::vector<UINT> offered;
  Session session;
  if (!session.open()) return offered;
  for (UINT format = EnumClipboardFormats(0); format != 0;
       format = EnumClipboardFormats(format)) {
    for (UINT wanted : formats) {
      if (format == wanted) offered.push_back(format);
    }
  }
  return offered;
}

Bytes BytesOf(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

Bytes Utf16Bytes(const std::wstring& text) {
  Bytes bytes;
  for (wchar_t unit : text) {
    bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<uint8_t>((unit >> 8) & 0xFF));
  }
  return bytes;
}

ClipboardHolder::ClipboardHolder() {
  std::promise<bool> opened;
  std::future<bool> opened_future = opened.get_future();
  std::future<void> released = release_.get_future();
  thread_ = std::thread([&opened, released = std::move(released)]() mutable {
    // A window of its own: openers that pass no window share the clipboard
    // under Wine, which is not what a real program holding it looks like.
    HWND window = CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0,
                                  HWND_MESSAGE, nullptr, nullptr, nullptr);
    const bool open = window && OpenClipboard(window);
    opened.set_value(open);
    released.wait();
    if (open) CloseClipboard();
    if (window) DestroyWindow(window);
  });
  holding_ = opened_future.get();
}

ClipboardHolder::~ClipboardHolder() {
  release_.set_value();
  thread_.join();
}

}  // namespace clipboard_test
