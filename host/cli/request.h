// The message that a command line stands for: a channel, a method name and
// its arguments.
#ifndef HOST_CLI_REQUEST_H_
#define HOST_CLI_REQUEST_H_

#include <string>

#include "codec/encodable_value.h"
#include "host/cli/command_line.h"
#include "host/cli/json_value.h"

namespace clipboard_host {

inline constexpr char kMethodChannel[] = "net.vostrine.clipboard/methods";
inline constexpr char kEventChannel[] = "net.vostrine.clipboard/events";

struct Request {
  std::string channel;
  std::string method;
  flutter::EncodableValue arguments;  // null: no arguments
};

// Throws JsonValueError for arguments that are not valid JSON values, and
// whatever `load_file` throws for a file that cannot be read.
Request BuildRequest(const CommandLine& command, const FileLoader& load_file);

// One line of the listen subcommand's input: "METHOD" or "METHOD JSON", for
// the method channel. Throws like BuildRequest.
Request RequestFromLine(const std::string& line, const FileLoader& load_file);

// One line of JSON, keys in this order:
// {"request":{"channel":...,"method":...,"arguments":...}}
std::string RequestLine(const Request& request, const PrintOptions& options);

}  // namespace clipboard_host

#endif  // HOST_CLI_REQUEST_H_
