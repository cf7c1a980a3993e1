// clipboard_host: a console program that loads the clipboard plug-in DLL and
// sends it the method call given on the command line. See command_line.cc
// for the subcommands and README.md for examples.
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "host/cli/answer.h"
#include "host/cli/command_line.h"
#include "host/cli/file_bytes.h"
#include "host/cli/json_value.h"
#include "host/cli/plugin_host.h"
#include "host/cli/request.h"
#include "host/cli/utf8_windows.h"

namespace clipboard_host {
namespace {

void Write(FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

void PrintLine(const std::string& text) { Write(stdout, text + "\n"); }

void PrintJson(const nlohmann::json& json) { PrintLine(JsonText(json)); }

void PrintProblem(const std::string& text) {
  Write(stderr, "clipboard_host: " + text + "\n");
}

// Prints the answer, or says on standard error why there is none.
int Report(const Answer& answer, const PrintOptions& options) {
  std::string failure = HostFailureText(answer);
  if (failure.empty()) {
    PrintJson(AnswerToJson(answer, options));
  } else {
    PrintProblem(failure);
  }
  return ExitStatusOf(answer);
}

void PrintEvents(PluginHost& host, const PrintOptions& options) {
  for (const std::vector<uint8_t>& message :
       host.TakeMessagesOn(kEventChannel)) {
    PrintJson(EventToJson(message, options));
  }
}

// The PNG of a pasteImage answer: the int32 elements of "imageBytes".
bool PngOf(const Answer& answer, std::vector<uint8_t>* png) {
  const auto* map = flutter::get_if<flutter::EncodableMap>(&answer.value);
  if (map == nullptr) return false;
  auto found = map->find(flutter::EncodableValue("imageBytes"));
  if (found == map->end()) return false;
  const auto* list = flutter::get_if<flutter::EncodableList>(&found->second);
  if (list == nullptr) return false;
  for (const flutter::EncodableValue& element : *list) {
    const int32_t* byte = flutter::get_if<int32_t>(&element);
    if (byte == nullptr || *byte < 0 || *byte > 255) return false;
    png->push_back(static_cast<uint8_t>(*byte));
  }
  return true;
}

int SaveImage(const Answer& answer, const std::string& path) {
  if (answer.kind != Answer::Kind::kSuccess) return ExitStatusOf(answer);
  std::vector<uint8_t> png;
  if (!PngOf(answer, &png)) {
    PrintProblem("the answer holds no image bytes; nothing written to " + path);
    return kExitHostFailure;
  }
  WriteFileBytes(path, png);
  return kExitSuccess;
}

bool ReadLine(FILE* stream, std::string* line) {
  line->clear();
  int c;
  while ((c = std::fgetc(stream)) != EOF && c != '\n') {
    line->push_back(static_cast<char>(c));
  }
  if (!line->empty() && line->back() == '\r') line->pop_back();
  return c != EOF || !line->empty();
}

int WorseOf(int status, int next) { return status != 0 ? status : next; }

// listen, then the method calls read from standard input, then cancel.
int Listen(PluginHost& host, const Request& listen, const CommandLine& command,
           const PrintOptions& options) {
  auto send = [&](const Request& request) {
    if (command.verbose) PrintLine(RequestLine(request, options));
    int status = Report(host.Call(request), options);
    PrintEvents(host, options);
    return status;
  };
  int status = send(listen);
  std::string line;
  while (ReadLine(stdin, &line)) {
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    try {
      status = WorseOf(status, send(RequestFromLine(line, ReadFileBytes)));
    } catch (const JsonValueError& error) {
      PrintProblem(error.what());
      status = WorseOf(status, kExitUsage);
    } catch (const FileError& error) {
      PrintProblem(error.what());
      status = WorseOf(status, kExitHostFailure);
    }
  }
  Request cancel{kEventChannel, "cancel", flutter::EncodableValue()};
  return WorseOf(status, send(cancel));
}

int Run(const std::vector<std::string>& arguments) {
  ParsedCommandLine parsed = ParseCommandLine(arguments);
  if (!parsed.run) {
    Write(stdout, parsed.out);
    Write(stderr, parsed.err);
    return parsed.exit_status;
  }
  const CommandLine& command = parsed.command;
  PrintOptions options;
  if (command.full) options.summarise_above = SIZE_MAX;

  Request request;
  try {
    request = BuildRequest(command, ReadFileBytes);
  } catch (const JsonValueError& error) {
    PrintProblem(error.what());
    return kExitUsage;
  } catch (const FileError& error) {
    PrintProblem(error.what());
    return kExitHostFailure;
  }

  std::string error;
  std::unique_ptr<PluginHost> host = PluginHost::Load(
      command.plugin_path.empty() ? DefaultPluginPath()
                                  : WideFromUtf8(command.plugin_path),
      &error);
  if (!host) {
    PrintProblem(error);
    return kExitHostFailure;
  }
  if (command.subcommand == "listen") {
    return Listen(*host, request, command, options);
  }
  if (command.verbose) PrintLine(RequestLine(request, options));
  Answer answer = host->Call(request);
  int status = Report(answer, options);
  PrintEvents(*host, options);
  if (command.subcommand == "paste-image" && !command.output_file.empty()) {
    try {
      status = SaveImage(answer, command.output_file);
    } catch (const FileError& failure) {
      PrintProblem(failure.what());
      status = kExitHostFailure;
    }
  }
  return status;
}

}  // namespace
}  // namespace clipboard_host

int main() {
  clipboard_host::Utf8StandardStreams utf8_streams;
  try {
    return clipboard_host::Run(clipboard_host::CommandLineArguments());
  } catch (const std::exception& error) {
    clipboard_host::PrintProblem(std::string("internal error: ") +
                                 error.what());
  } catch (...) {
    clipboard_host::PrintProblem("internal error");
  }
  return clipboard_host::kExitHostFailure;
}
