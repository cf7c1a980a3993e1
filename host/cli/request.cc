#include "host/cli/request.h"

#include <map>
#include <utility>

namespace clipboard_host {
namespace {

using flutter::EncodableList;
using flutter::EncodableMap;
using flutter::EncodableValue;

const std::map<std::string, std::string>& MethodOfSubcommand() {
  static const auto* const kMethods = new std::map<std::string, std::string>{
      {"copy", "copy"},
      {"paste", "paste"},
      {"copy-rich", "copyRichText"},
      {"paste-rich", "pasteRichText"},
      {"copy-image", "copyImage"},
      {"paste-image", "pasteImage"},
      {"copy-multiple", "copyMultiple"},
      {"clear", "clear"},
      {"get-content-type", "getContentType"},
      {"has-data", "hasData"},
      {"get-data-size", "getDataSize"},
      {"start-monitoring", "startMonitoring"},
      {"stop-monitoring", "stopMonitoring"},
  };
  return *kMethods;
}

// Image bytes cross the channel as a list of int32, one per byte.
EncodableValue ByteListOf(const std::vector<uint8_t>& bytes) {
  EncodableList list;
  list.reserve(bytes.size());
  for (uint8_t byte : bytes) list.emplace_back(static_cast<int32_t>(byte));
  return EncodableValue(std::move(list));
}

EncodableValue Str(const std::string& text) { return EncodableValue(text); }

EncodableValue JsonArguments(const CommandLine& command,
                             const FileLoader& load_file) {
  if (!command.has_arguments) return EncodableValue();
  return ValueFromJsonText(command.arguments_json, load_file);
}

EncodableValue Arguments(const CommandLine& c, const FileLoader& load_file) {
  const std::string& sub = c.subcommand;
  if (sub == "copy") {
    std::string text = c.text;
    if (!c.input_file.empty()) {
      std::vector<uint8_t> bytes = load_file(c.input_file);
      text.assign(bytes.begin(), bytes.end());
    }
    return EncodableValue(EncodableMap{{Str("text"), Str(text)}});
  }
  if (sub == "copy-rich") {
    EncodableMap map;
    if (c.has_text) map[Str("text")] = Str(c.text);
    if (c.has_html) map[Str("html")] = Str(c.html);
    return EncodableValue(std::move(map));
  }
  if (sub == "copy-image") {
    return EncodableValue(
        EncodableMap{{Str("imageBytes"), ByteListOf(load_file(c.image_file))}});
  }
  if (sub == "copy-multiple") {
    EncodableMap formats;
    if (!c.image_file.empty()) {
      formats[Str("image/png")] = ByteListOf(load_file(c.image_file));
    }
    if (c.has_text) formats[Str("text/plain")] = Str(c.text);
    if (c.has_html) formats[Str("text/html")] = Str(c.html);
    return EncodableValue(
        EncodableMap{{Str("formats"), EncodableValue(std::move(formats))}});
  }
  if (sub == "call" || sub == "listen") return JsonArguments(c, load_file);
  return EncodableValue();
}

}  // namespace

Request BuildRequest(const CommandLine& command, const FileLoader& load_file) {
  Request request;
  request.channel = kMethodChannel;
  if (command.subcommand == "call") {
    request.method = command.method;
    if (!command.channel.empty()) request.channel = command.channel;
  } else if (command.subcommand == "listen") {
    request.channel = kEventChannel;
    request.method = "listen";
  } else {
    request.method = MethodOfSubcommand().at(command.subcommand);
  }
  request.arguments = Arguments(command, load_file);
  return request;
}

Request RequestFromLine(const std::string& line, const FileLoader& load_file) {
  Request request;
  request.channel = kMethodChannel;
  size_t end = line.find_first_of(" \t");
  request.method = line.substr(0, end);
  if (end != std::string::npos) {
    size_t start = line.find_first_not_of(" \t", end);
    if (start != std::string::npos) {
      request.arguments = ValueFromJsonText(line.substr(start), load_file);
    }
  }
  return request;
}

std::string RequestLine(const Request& request, const PrintOptions& options) {
  return "{\"request\":{\"channel\":" +
         JsonText(ValueToJson(EncodableValue(request.channel), options)) +
         ",\"method\":" +
         JsonText(ValueToJson(EncodableValue(request.method), options)) +
         ",\"arguments\":" + JsonText(ValueToJson(request.arguments, options)) +
         "}}";
}

}  // namespace clipboard_host
