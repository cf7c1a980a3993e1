// UTF-8 on our side, UTF-16 on the Windows side. Windows hands programs a
// narrow argv in the ANSI code page, which loses characters, so the host takes
// the wide command line and converts it.
#ifndef HOST_CLI_UTF8_WINDOWS_H_
#define HOST_CLI_UTF8_WINDOWS_H_

#include <string>
#include <vector>

namespace clipboard_host {

// Conversions with the system converter; ill-formed input becomes U+FFFD.
std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);

// The process's arguments after the program name, in UTF-8.
std::vector<std::string> CommandLineArguments();

// While it lives, the standard streams carry UTF-8 bytes unchanged: binary
// mode (no CR LF translation) and, for a console, the UTF-8 code pages. A
// console's code pages outlive the program, so they are restored.
class Utf8StandardStreams {
 public:
  Utf8StandardStreams();
  ~Utf8StandardStreams();
  Utf8StandardStreams(const Utf8StandardStreams&) = delete;
  Utf8StandardStreams& operator=(const Utf8StandardStreams&) = delete;

 private:
  unsigned int output_code_page_;  // 0 without a console
  unsigned int input_code_page_;
};

}  // namespace clipboard_host

#endif  // HOST_CLI_UTF8_WINDOWS_H_
