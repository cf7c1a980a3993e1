// What the plug-in answered to one message, and how the host prints it.
#ifndef HOST_CLI_ANSWER_H_
#define HOST_CLI_ANSWER_H_

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "codec/encodable_value.h"
#include "host/cli/json_value.h"

namespace clipboard_host {

// Exit statuses of the host.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitErrorAnswer = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNotImplemented = 3;
// The plug-in could not be loaded, a file could not be read or written, or
// the plug-in did not answer.
inline constexpr int kExitHostFailure = 4;

struct Answer {
  enum class Kind {
    kSuccess,
    kError,
    kNotImplemented,  // an empty reply
    kNoHandler,       // nothing listens on the channel
    kNoAnswer,        // the handler returned without replying
    kMalformed,       // the reply is not a success or error envelope
  };
  Kind kind = Kind::kNoAnswer;
  flutter::EncodableValue value;    // success: the result, null for none
  std::string code;                 // error
  std::string message;              // error
  flutter::EncodableValue details;  // error: null for none
};

// Decodes a reply that the plug-in sent; an empty reply is not implemented.
Answer DecodeReply(const std::vector<uint8_t>& reply);

// {"success": value}, {"error": {"code", "message"[, "details"]}} or
// {"notImplemented": true}. Host failures have no JSON form.
nlohmann::json AnswerToJson(const Answer& answer, const PrintOptions& options);
// The message for a host failure ("no answer", ...); empty for the others.
std::string HostFailureText(const Answer& answer);
int ExitStatusOf(const Answer& answer);

// A message that the plug-in sent on its own, as an event channel carries
// them: {"event": value}, {"eventError": {...}} or {"endOfStream": true}
// for an empty message; {"malformedEvent": bytes} otherwise.
nlohmann::json EventToJson(const std::vector<uint8_t>& message,
                           const PrintOptions& options);

}  // namespace clipboard_host

#endif  // HOST_CLI_ANSWER_H_
