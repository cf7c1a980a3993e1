// Whole-file reads and writes by UTF-8 path, so that file names outside the
// ANSI code page work on Windows.
#ifndef HOST_CLI_FILE_BYTES_H_
#define HOST_CLI_FILE_BYTES_H_

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace clipboard_host {

class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "-" reads standard input. Throws FileError naming the file and the reason.
std::vector<uint8_t> ReadFileBytes(const std::string& utf8_path);
// Replaces the file's content. Throws FileError.
void WriteFileBytes(const std::string& utf8_path,
                    const std::vector<uint8_t>& bytes);

}  // namespace clipboard_host

#endif  // HOST_CLI_FILE_BYTES_H_
