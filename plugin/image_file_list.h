#ifndef PLUGIN_IMAGE_FILE_LIST_H_
#define PLUGIN_IMAGE_FILE_LIST_H_

// The pure parts of taking an image from a file list (CF_HDROP).

#include <cstddef>
#include <cstdint>
#include <string>

namespace clipboard {

// Whether `block` (`size` bytes, as GlobalSize reports) holds a DROPFILES
// record whose name list starts inside the block and ends, with its empty
// name, inside it too. DragQueryFileW walks the list without a bound, so a
// list written by another program is checked first.
bool IsTerminatedFileList(const uint8_t* block, size_t size);

// The extension of `path` as the search compares it: the text after the
// last "." anywhere in the path (the whole path when there is none),
// lower-cased one UTF-16 unit at a time. A dot in a folder name counts, so
// "C:\my.photos\image" gives "photos\image".
std::wstring LowerCaseExtension(const std::wstring& path);

// Whether a lower-cased extension names an image file that pasteImage takes
// from a file list.
bool IsAcceptedImageExtension(const std::wstring& extension);

}  // namespace clipboard

#endif  // PLUGIN_IMAGE_FILE_LIST_H_
