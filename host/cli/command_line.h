// The host's command line: global options and one subcommand per channel
// method, parsed with CLI11.
#ifndef HOST_CLI_COMMAND_LINE_H_
#define HOST_CLI_COMMAND_LINE_H_

#include <string>
#include <vector>

namespace clipboard_host {

// What the user asked for, as typed (UTF-8). Which fields matter depends on
// the subcommand.
struct CommandLine {
  std::string subcommand;
  std::string plugin_path;  // empty: clipboard_plugin.dll next to the host
  bool full = false;        // print long byte lists in full
  bool verbose = false;     // print each request before its answer
  bool has_text = false;
  std::string text;  // copy TEXT; --text of copy-rich, copy-multiple
  bool has_html = false;
  std::string html;         // --html of copy-rich, copy-multiple
  std::string input_file;   // copy -i FILE
  std::string image_file;   // copy-image FILE; --image of copy-multiple
  std::string output_file;  // paste-image -o FILE
  std::string method;       // call METHOD
  std::string channel;      // call --channel NAME
  bool has_arguments = false;
  std::string arguments_json;  // call METHOD JSON; listen JSON
};

struct ParsedCommandLine {
  bool run = false;  // true: carry out `command`
  CommandLine command;
  int exit_status = 0;  // otherwise: exit with this status
  std::string out;      // after printing this to standard output (help)
  std::string err;      // and this to standard error (usage errors)
};

// `arguments` excludes the program name.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

}  // namespace clipboard_host

#endif  // HOST_CLI_COMMAND_LINE_H_
