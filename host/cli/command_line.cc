#include "host/cli/command_line.h"

#include <CLI/CLI.hpp>
#include <sstream>

#include "host/cli/answer.h"

namespace clipboard_host {
namespace {

constexpr char kDescription[] =
    "Loads the clipboard plug-in DLL, registers it with a stand-in engine and "
    "sends it one method call. The answer is printed as one line of JSON: "
    "{\"success\": value}, {\"error\": {\"code\": ..., \"message\": ...}} or "
    "{\"notImplemented\": true}.";

constexpr char kFooter[] =
    "Values are JSON; int64, byte lists, typed lists and maps with non-string "
    "keys are tagged ({\"$int64\": 5}, {\"$bytes\": [1, 2]}, "
    "{\"$file\": \"a.png\"}, ...; see the README).\n"
    "Exit status: 0 success, 1 error answer, 2 usage error, 3 not "
    "implemented, 4 the plug-in could not be loaded or did not answer, or a "
    "file could not be read or written.";

// The subcommands that take nothing and call one method.
constexpr const char* kPlainSubcommands[][2] = {
    {"paste", "paste plain text"},
    {"paste-rich", "paste plain text and the HTML document"},
    {"clear", "empty the clipboard"},
    {"get-content-type", "call getContentType"},
    {"has-data", "call hasData"},
    {"get-data-size", "call getDataSize"},
    {"start-monitoring", "call startMonitoring"},
    {"stop-monitoring", "call stopMonitoring"},
};

void Define(CLI::App& app, CommandLine& c) {
  app.require_subcommand(1);
  // Paths like /tmp/a.png must stay operands, as they do on Unix.
  app.allow_windows_style_options(false);
  // Global options may also follow the subcommand.
  app.fallthrough();
  app.add_option("--plugin", c.plugin_path,
                 "the plug-in DLL (default: clipboard_plugin.dll next to "
                 "this program)")
      ->type_name("DLL");
  app.add_flag("--full", c.full,
               "print long byte lists in full instead of a summary");
  app.add_flag("-v,--verbose", c.verbose,
               "print the request as JSON before the answer");

  CLI::App* copy = app.add_subcommand("copy", "copy plain text");
  copy->add_option("text", c.text, "the text");
  copy->add_option("-i,--input", c.input_file,
                   "read the text from FILE ('-': standard input)")
      ->type_name("FILE");

  CLI::App* rich =
      app.add_subcommand("copy-rich", "copy plain text and/or HTML");
  rich->add_option("--text", c.text, "the plain-text alternative");
  rich->add_option("--html", c.html, "the HTML fragment");

  CLI::App* image = app.add_subcommand(
      "copy-image", "copy an image file (PNG, JPEG, BMP, GIF, ...)");
  image->add_option("file", c.image_file, "the image file")->required();

  CLI::App* paste_image =
      app.add_subcommand("paste-image", "paste the image as PNG bytes");
  paste_image->add_option("-o,--output", c.output_file, "write the PNG to FILE")
      ->type_name("FILE");

  CLI::App* multiple = app.add_subcommand(
      "copy-multiple", "copy an image, text and HTML together");
  multiple->add_option("--image", c.image_file, "an image file")
      ->type_name("FILE");
  multiple->add_option("--text", c.text, "the plain text");
  multiple->add_option("--html", c.html, "the HTML fragment");

  for (const auto& [name, description] : kPlainSubcommands) {
    app.add_subcommand(name, description);
  }

  CLI::App* call = app.add_subcommand(
      "call", "call any method with arguments written as JSON");
  call->add_option("method", c.method, "the method name")->required();
  call->add_option("arguments", c.arguments_json,
                   "the arguments as JSON (default: none)");
  call->add_option("--channel", c.channel,
                   "send on this channel instead of the method channel")
      ->type_name("NAME");

  app.add_subcommand(
         "listen",
         "listen on the event channel; then call methods read from standard "
         "input, one per line as METHOD [JSON], printing each answer and "
         "every event; cancel at the end of the input")
      ->add_option("arguments", c.arguments_json,
                   "the listen arguments as JSON (default: none)");
}

// Which optional values were given, read after parsing.
void NoteGivenValues(const CLI::App& app, CommandLine& c) {
  const CLI::App* sub = app.get_subcommands().front();
  c.subcommand = sub->get_name();
  auto given = [sub](const char* name) {
    for (const CLI::Option* option : sub->get_options()) {
      if (option->check_name(name)) return option->count() > 0;
    }
    return false;
  };
  c.has_text = given("text") || given("--text");
  c.has_html = given("--html");
  c.has_arguments = given("arguments");
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  ParsedCommandLine parsed;
  CLI::App app(kDescription, "clipboard_host");
  app.footer(kFooter);
  Define(app, parsed.command);

  std::vector<const char*> argv{"clipboard_host"};
  for (const std::string& argument : arguments) {
    argv.push_back(argument.c_str());
  }
  std::ostringstream out;
  std::ostringstream err;
  try {
    app.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::ParseError& error) {
    int status = app.exit(error, out, err);
    parsed.exit_status = status == 0 ? kExitSuccess : kExitUsage;
    parsed.out = out.str();
    parsed.err = err.str();
    return parsed;
  }
  NoteGivenValues(app, parsed.command);
  const CommandLine& c = parsed.command;
  if (c.subcommand == "copy" && c.has_text == !c.input_file.empty()) {
    parsed.exit_status = kExitUsage;
    parsed.err =
        "copy: give either the text or -i FILE\nRun with --help for more "
        "information.\n";
    return parsed;
  }
  parsed.run = true;
  return parsed;
}

}  // namespace clipboard_host
