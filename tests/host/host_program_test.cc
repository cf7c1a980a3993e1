// Runs clipboard_host.exe as a user would, with clipboard_plugin.dll beside
// it: wide command lines with characters outside the ANSI code page, UTF-8
// output, file names outside the ANSI code page, exit statuses.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "host/cli/utf8_windows.h"

namespace clipboard_host {
namespace {

// A 2 x 1 PNG: one red and one blue opaque pixel.
const std::vector<uint8_t> kPng = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00,
    0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00,
    0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0xF4, 0x22, 0x7F, 0x8A,
    0x00, 0x00, 0x00, 0x11, 0x49, 0x44, 0x41, 0x54, 0x78, 0xDA, 0x63,
    0xF8, 0xCF, 0xC0, 0xF0, 0x9F, 0x81, 0xE1, 0xFF, 0x7F, 0x00, 0x0F,
    0xF9, 0x03, 0xFD, 0x15, 0x10, 0xE1, 0xA4, 0x00, 0x00, 0x00, 0x00,
    0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

// Text outside every ANSI code page: accents, CJK, a character outside the
// Basic Multilingual Plane.
const wchar_t kWideText[] = L"h\u00E9llo \u65E5\u672C \U0001F600";
const char kUtf8Text[] =
    "h\xC3\xA9llo \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80";

struct HostRun {
  DWORD exit_code = 0;
  std::string out;
  std::string err;
};

std::wstring Folder(const std::wstring& path) {
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::wstring HostPath() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return Folder(self) + L"clipboard_host.exe";
}

// Quotes one argument so that CommandLineToArgvW gives it back unchanged.
std::wstring Quote(const std::wstring& argument) {
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted.push_back(c);
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

// Appends what the pipe holds now, without waiting for more.
void Drain(HANDLE pipe, std::string* text) {
  DWORD available = 0;
  while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) &&
         available > 0) {
    std::string chunk(available, '\0');
    DWORD count = 0;
    if (!ReadFile(pipe, chunk.data(), available, &count, nullptr) ||
        count == 0) {
      return;
    }
    text->append(chunk.data(), count);
  }
}

HostRun RunHost(const std::vector<std::wstring>& arguments,
                const std::string& input = "") {
  std::wstring command_line = Quote(HostPath());
  for (const std::wstring& argument : arguments) {
    command_line += L" " + Quote(argument);
  }
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE in_read, in_write, out_read, out_write, err_read, err_write;
  CreatePipe(&in_read, &in_write, &inherit, 0);
  CreatePipe(&out_read, &out_write, &inherit, 0);
  CreatePipe(&err_read, &err_write, &inherit, 0);
  for (HANDLE ours : {in_write, out_read, err_read}) {
    SetHandleInformation(ours, HANDLE_FLAG_INHERIT, 0);
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in_read;
  startup.hStdOutput = out_write;
  startup.hStdError = err_write;
  PROCESS_INFORMATION process{};
  HostRun run;
  BOOL started = CreateProcessW(nullptr, command_line.data(), nullptr, nullptr,
                                TRUE, 0, nullptr, nullptr, &startup, &process);
  for (HANDLE theirs : {in_read, out_write, err_write}) CloseHandle(theirs);
  if (started) {
    DWORD written = 0;
    if (!input.empty()) {
      WriteFile(in_write, input.data(), static_cast<DWORD>(input.size()),
                &written, nullptr);
    }
    CloseHandle(in_write);
    // The pipes are not read to their end: under Wine, a desktop process
    // that the child starts inherits the child's standard error and keeps
    // it open. They are emptied while the child runs and once it has ended.
    while (WaitForSingleObject(process.hProcess, 10) == WAIT_TIMEOUT) {
      Drain(out_read, &run.out);
      Drain(err_read, &run.err);
    }
    Drain(out_read, &run.out);
    Drain(err_read, &run.err);
    GetExitCodeProcess(process.hProcess, &run.exit_code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  } else {
    CloseHandle(in_write);
    run.exit_code = 0xDEAD;
    run.err = "cannot start " + Utf8FromWide(command_line);
  }
  CloseHandle(out_read);
  CloseHandle(err_read);
  return run;
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return L"<clipboard busy>";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = units;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

class HostProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"host program \u00FC\U0001F600 " +
              std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder_.c_str(), nullptr);
  }
  void TearDown() override {
    for (const std::wstring& file : files_) DeleteFileW(file.c_str());
    RemoveDirectoryW(folder_.c_str());
  }

  std::wstring File(const std::wstring& name) {
    files_.push_back(folder_ + name);
    return files_.back();
  }

  std::wstring folder_;
  std::vector<std::wstring> files_;
};

TEST_F(HostProgramTest, NonAsciiTextArrivesIntactAndPrintsAsUtf8) {
  HostRun copy = RunHost({L"copy", kWideText});
  EXPECT_EQ(copy.exit_code, 0u) << copy.err;
  EXPECT_EQ(copy.out, "{\"success\":true}\n");
  EXPECT_EQ(ClipboardText(), kWideText);

  HostRun paste = RunHost({L"paste"});
  EXPECT_EQ(paste.exit_code, 0u) << paste.err;
  EXPECT_EQ(paste.out,
            std::string("{\"success\":{\"text\":\"") + kUtf8Text + "\"}}\n");
}

TEST_F(HostProgramTest, ReadsAndWritesFilesWithNonAsciiNames) {
  const std::wstring text_file = File(L"t\u00E9xt \u65E5.txt");
  std::ofstream(text_file.c_str(), std::ios::binary) << kUtf8Text;
  HostRun copy_file = RunHost({L"copy", L"-i", text_file});
  EXPECT_EQ(copy_file.exit_code, 0u) << copy_file.err;
  EXPECT_EQ(ClipboardText(), kWideText);

  const std::wstring source = File(L"bild \u00FC\U0001F600.png");
  std::ofstream(source.c_str(), std::ios::binary)
      .write(reinterpret_cast<const char*>(kPng.data()), kPng.size());
  HostRun copy = RunHost({L"copy-image", source});
  EXPECT_EQ(copy.exit_code, 0u) << copy.err;
  EXPECT_EQ(copy.out, "{\"success\":true}\n");

  const std::wstring target = File(L"ausgabe \u00E9\u65E5.png");
  HostRun paste = RunHost({L"paste-image", L"-o", target});
  EXPECT_EQ(paste.exit_code, 0u) << paste.err;
  std::ifstream written(target.c_str(), std::ios::binary);
  std::string png((std::istreambuf_iterator<char>(written)),
                  std::istreambuf_iterator<char>());
  ASSERT_GT(png.size(), 64u);  // a PNG is never this short
  EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1A\n");
  // The answer on the terminal is summarised; --full prints every byte.
  EXPECT_NE(paste.out.find("\"length\":" + std::to_string(png.size())),
            std::string::npos)
      << paste.out;
  EXPECT_NE(paste.out.find("\"first\":[137,80,78,71,"), std::string::npos);
  HostRun full = RunHost({L"--full", L"paste-image"});
  std::string list;
  for (unsigned char byte : png) list += std::to_string(byte) + ",";
  list.back() = ']';
  EXPECT_EQ(full.out, "{\"success\":{\"imageBytes\":[" + list + "}}\n");
}

struct StatusCase {
  std::vector<std::wstring> arguments;
  DWORD exit_code;
  const char* out;       // exact standard output
  const char* err_part;  // part of standard error; "" for none expected
};

TEST_F(HostProgramTest, ExitStatusFollowsTheAnswer) {
  const StatusCase cases[] = {
      {{L"get-data-size"}, 0, "{\"success\":0}\n", ""},
      {{L"copy", L""},
       1,
       "{\"error\":{\"code\":\"EMPTY_TEXT\",\"message\":\"Text cannot be "
       "empty\"}}\n",
       ""},
      {{L"call", L"copyImage", L"{\"imageBytes\": {\"$bytes\": [1]}}"},
       1,
       "{\"error\":{\"code\":\"EMPTY_IMAGE\",\"message\":\"Image bytes cannot "
       "be empty\"}}\n",
       ""},
      {{L"call", L"Copy"}, 3, "{\"notImplemented\":true}\n", ""},
      {{L"bogus"}, 2, "", "--help"},
      {{L"call", L"copy", L"{"}, 2, "", "invalid JSON"},
      {{L"--plugin", L"C:\\nowhere\\clipboard_plugin.dll", L"paste"},
       4,
       "",
       "cannot load C:\\nowhere\\clipboard_plugin.dll"},
      {{L"copy-image", L"C:\\nowhere\\\u00FC.png"},
       4,
       "",
       "cannot open C:\\nowhere\\\xC3\xBC.png"},
  };
  for (const StatusCase& c : cases) {
    const std::string shown = Utf8FromWide(c.arguments[0]);
    HostRun run = RunHost(c.arguments);
    EXPECT_EQ(run.exit_code, c.exit_code) << shown << ": " << run.err;
    EXPECT_EQ(run.out, c.out) << shown;
    if (*c.err_part == '\0') {
      EXPECT_EQ(run.err, "") << shown;
    } else {
      EXPECT_NE(run.err.find(c.err_part), std::string::npos)
          << shown << ": " << run.err;
    }
  }
}

TEST_F(HostProgramTest, ListenAnswersEveryLineAndSeesNoEvents) {
  HostRun run = RunHost(
      {L"listen"}, "startMonitoring\r\n\ncopy {\"text\": \"x\"}\nhasData\n");
  EXPECT_EQ(run.exit_code, 0u) << run.err;
  EXPECT_EQ(run.out,
            "{\"success\":null}\n"  // listen
            "{\"success\":true}\n"
            "{\"success\":true}\n"
            "{\"success\":false}\n"
            "{\"success\":null}\n");  // cancel
}

}  // namespace
}  // namespace clipboard_host
