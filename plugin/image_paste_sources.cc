#include "plugin/image_paste_sources.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "plugin/dib_format.h"
#include "plugin/image_file_list.h"
#include "plugin/win_handles.h"

namespace clipboard {

namespace {

// A screen-compatible copy of the clipboard's CF_BITMAP, made while the
// clipboard is open; the clipboard's own bitmap must not be used after
// CloseClipboard. Every DC is back to its previous selection before the
// copy is returned, so that it can be converted and deleted.
UniqueGdiObject CopyClipboardBitmap(HDC screen) {
  ClipboardSession clipboard;
  if (!clipboard || !IsClipboardFormatAvailable(CF_BITMAP)) return {};
  auto source = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  if (!source) return {};
  // A handle that is not a bitmap, or an empty one, would otherwise give
  // the 1 x 1 stock bitmap of CreateCompatibleBitmap.
  BITMAP info{};
  if (GetObjectW(source, sizeof(info), &info) != sizeof(info) ||
      info.bmWidth <= 0 || info.bmHeight <= 0) {
    return {};
  }
  UniqueGdiObject target(
      CreateCompatibleBitmap(screen, info.bmWidth, info.bmHeight));
  UniqueMemoryDc target_dc(CreateCompatibleDC(screen));
  UniqueMemoryDc source_dc(CreateCompatibleDC(screen));
  if (!target || !target_dc || !source_dc) return {};
  SelectionGuard target_selected(target_dc.get(), target.get());
  SelectionGuard source_selected(source_dc.get(), source);
  // Without both selections or the copy, the target holds no picture.
  if (!target_selected || !source_selected ||
      !BitBlt(target_dc.get(), 0, 0, info.bmWidth, info.bmHeight,
              source_dc.get(), 0, 0, SRCCOPY)) {
    return {};
  }
  return target;
}

// A private copy of the CF_DIBV5 block, or else the CF_DIB block. Nothing
// is read from the clipboard's block but this copy, bounded by GlobalSize.
std::vector<uint8_t> CopyClipboardDib() {
  ClipboardSession clipboard;
  if (!clipboard) return {};
  UINT format = 0;
  if (IsClipboardFormatAvailable(CF_DIBV5)) {
    format = CF_DIBV5;
  } else if (IsClipboardFormatAvailable(CF_DIB)) {
    format = CF_DIB;
  } else {
    return {};
  }
  HANDLE block = GetClipboardData(format);
  if (!block) return {};
  GlobalLockGuard lock(block);
  if (!lock) return {};
  const size_t size = std::min<SIZE_T>(lock.size(), 0xFFFFFFFF);
  const auto* data = static_cast<const uint8_t*>(lock.data());
  // Refuse before copying what will not be used.
  if (!ReadDibLayout(data, size)) return {};
  try {
    return std::vector<uint8_t>(data, data + size);
  } catch (const std::bad_alloc&) {
    return {};  // too large to copy: no image from this source
  }
}

// A bitmap from a packed DIB through a DIB section. The section is never
// selected into the DC: SetDIBits wants it unselected, and GDI+ converts it
// and DeleteObject frees it only then.
BitmapPtr BitmapFromPackedDib(const std::vector<uint8_t>& dib) {
  // Checked again on the copy, which is what GDI reads.
  const std::optional<DibLayout> layout = ReadDibLayout(dib.data(), dib.size());
  if (!layout) return nullptr;
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!dc) return nullptr;
  const auto* info = reinterpret_cast<const BITMAPINFO*>(dib.data());
  void* bits = nullptr;
  UniqueGdiObject section(
      CreateDIBSection(dc.get(), info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!section || !bits) return nullptr;
  auto handle = static_cast<HBITMAP>(section.get());
  if (SetDIBits(dc.get(), handle, 0, layout->line_count,
                dib.data() + layout->pixel_offset, info, DIB_RGB_COLORS) == 0) {
    return nullptr;
  }
  return MakeBitmap(handle, static_cast<HPALETTE>(nullptr));
}

// The listed file at `index` when GDI+ decodes it and its extension is
// accepted. The file is decoded before its extension is looked at.
BitmapPtr BitmapFromListedFile(HDROP files, UINT index) {
  const UINT length = DragQueryFileW(files, index, nullptr, 0);
  if (length == 0) return nullptr;
  std::wstring path;
  try {
    path.assign(length + 1, L'\0');
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  const UINT copied = DragQueryFileW(files, index, path.data(), length + 1);
  if (copied == 0) return nullptr;
  path.resize(std::min(copied, length));
  BitmapPtr candidate = MakeBitmap(path.c_str(), FALSE);
  if (!candidate || !IsAcceptedImageExtension(LowerCaseExtension(path))) {
    return nullptr;
  }
  return candidate;
}

// Whether the CF_HDROP block is a list that DragQueryFileW can walk safely.
bool IsReadableFileList(HANDLE files) {
  GlobalLockGuard lock(files);
  return lock && IsTerminatedFileList(static_cast<const uint8_t*>(lock.data()),
                                      lock.size());
}

}  // namespace

BitmapPtr BitmapFromClipboardBitmap() {
  ScreenDc screen;
  if (!screen) return nullptr;
  UniqueGdiObject copy = CopyClipboardBitmap(screen.get());
  if (!copy) return nullptr;
  return MakeBitmap(static_cast<HBITMAP>(copy.get()),
                    static_cast<HPALETTE>(nullptr));
}

BitmapPtr BitmapFromClipboardDib() {
  const std::vector<uint8_t> dib = CopyClipboardDib();
  return dib.empty() ? nullptr : BitmapFromPackedDib(dib);
}

BitmapPtr BitmapFromClipboardFileList() {
  // Open for the whole walk, including the decoding of each file.
  ClipboardSession clipboard;
  if (!clipboard || !IsClipboardFormatAvailable(CF_HDROP)) return nullptr;
  auto files = static_cast<HDROP>(GetClipboardData(CF_HDROP));
  if (!files || !IsReadableFileList(files)) return nullptr;
  const UINT count = DragQueryFileW(files, 0xFFFFFFFF, nullptr, 0);
  for (UINT index = 0; index < count; ++index) {
    if (BitmapPtr candidate = BitmapFromListedFile(files, index)) {
      return candidate;
    }
  }
  return nullptr;
}

BitmapPtr FindClipboardImage() {
  using Source = BitmapPtr (*)();
  static constexpr Source kSources[] = {BitmapFromClipboardBitmap,
                                        BitmapFromClipboardDib,
                                        BitmapFromClipboardFileList};
  for (Source source : kSources) {
    if (BitmapPtr bitmap = source()) return bitmap;
  }
  return nullptr;
}

}  // namespace clipboard
