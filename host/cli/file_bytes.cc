#include "host/cli/file_bytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#ifdef _WIN32
#include "host/cli/utf8_windows.h"
#endif

namespace clipboard_host {
namespace {

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

FILE* Open(const std::string& utf8_path, const char* mode) {
#ifdef _WIN32
  std::wstring wide_mode(mode, mode + std::strlen(mode));
  return _wfopen(WideFromUtf8(utf8_path).c_str(), wide_mode.c_str());
#else
  return std::fopen(utf8_path.c_str(), mode);
#endif
}

[[noreturn]] void Fail(const char* what, const std::string& path, int error) {
  throw FileError(std::string("cannot ") + what + " " + path + ": " +
                  std::strerror(error));
}

std::vector<uint8_t> ReadAll(FILE* file, const std::string& path) {
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  size_t count;
  while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    bytes.insert(bytes.end(), chunk, chunk + count);
  }
  if (std::ferror(file)) Fail("read", path, errno);
  return bytes;
}

}  // namespace

std::vector<uint8_t> ReadFileBytes(const std::string& utf8_path) {
  if (utf8_path == "-") return ReadAll(stdin, "standard input");
  errno = 0;
  FilePtr file(Open(utf8_path, "rb"));
  if (!file) Fail("open", utf8_path, errno);
  return ReadAll(file.get(), utf8_path);
}

void WriteFileBytes(const std::string& utf8_path,
                    const std::vector<uint8_t>& bytes) {
  errno = 0;
  FilePtr file(Open(utf8_path, "wb"));
  if (!file) Fail("create", utf8_path, errno);
  if (!bytes.empty() &&
      std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
    Fail("write", utf8_path, errno);
  }
  FILE* raw = file.release();
  if (std::fclose(raw) != 0) Fail("write", utf8_path, errno);
}

}  // namespace clipboard_host
