#include "host/cli/utf8_windows.h"

// windows.h first: the other platform headers need its types.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on
#include <fcntl.h>
#include <io.h>

#include <climits>
#include <cstdio>

namespace clipboard_host {

std::wstring WideFromUtf8(const std::string& text) {
  if (text.empty() || text.size() > INT_MAX) return std::wstring();
  const int size = static_cast<int>(text.size());
  int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), units);
  return wide;
}

std::string Utf8FromWide(const std::wstring& text) {
  if (text.empty() || text.size() > INT_MAX) return std::string();
  const int size = static_cast<int>(text.size());
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0,
                                  nullptr, nullptr);
  std::string narrow(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), bytes,
                      nullptr, nullptr);
  return narrow;
}

std::vector<std::string> CommandLineArguments() {
  std::vector<std::string> arguments;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Utf8FromWide(wide[i]));
  LocalFree(wide);
  return arguments;
}

Utf8StandardStreams::Utf8StandardStreams()
    : output_code_page_(GetConsoleOutputCP()),
      input_code_page_(GetConsoleCP()) {
  if (output_code_page_ != 0) SetConsoleOutputCP(CP_UTF8);
  if (input_code_page_ != 0) SetConsoleCP(CP_UTF8);
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

Utf8StandardStreams::~Utf8StandardStreams() {
  std::fflush(stdout);
  std::fflush(stderr);
  if (output_code_page_ != 0) SetConsoleOutputCP(output_code_page_);
  if (input_code_page_ != 0) SetConsoleCP(input_code_page_);
}

}  // namespace clipboard_host
