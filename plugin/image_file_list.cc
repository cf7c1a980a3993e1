#include "plugin/image_file_list.h"

#include <cwctype>

namespace clipboard {

namespace {

// DROPFILES: pFiles (4), pt (8), fNC (4), fWide (4).
constexpr size_t kDropFilesSize = 20;

uint32_t GetLe32(const uint8_t* in) {
  return in[0] | in[1] << 8 | in[2] << 16 | uint32_t{in[3]} << 24;
}

}  // namespace

bool IsTerminatedFileList(const uint8_t* block, size_t size) {
  if (size < kDropFilesSize) return false;
  const size_t unit = GetLe32(block + 16) != 0 ? 2 : 1;
  const auto is_nul = [&](size_t at) {
    return block[at] == 0 && (unit == 1 || block[at + 1] == 0);
  };
  size_t at = GetLe32(block);
  // Each name ends with a NUL unit; an empty name ends the list.
  for (;;) {
    if (at > size || size - at < unit) return false;
    if (is_nul(at)) return true;
    while (size - at >= unit && !is_nul(at)) at += unit;
    if (size - at < unit) return false;
    at += unit;
  }
}

std::wstring LowerCaseExtension(const std::wstring& path) {
  const size_t dot = path.rfind(L'.');
  std::wstring extension =
      dot == std::wstring::npos ? path : path.substr(dot + 1);
  for (wchar_t& unit : extension) {
    unit = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(unit)));
  }
  return extension;
}

bool IsAcceptedImageExtension(const std::wstring& extension) {
  static const wchar_t* const kAccepted[] = {L"jpg", L"jpeg", L"png",
                                             L"bmp", L"gif",  L"tiff",
                                             L"tif", L"ico",  L"webp"};
  for (const wchar_t* accepted : kAccepted) {
    if (extension == accepted) return true;
  }
  return false;
}

}  // namespace clipboard
