#include "host/cli/answer.h"

#include <exception>
#include <utility>

#include "channels/method_result.h"
#include "codec/standard_method_codec.h"

namespace clipboard_host {
namespace {

using flutter::EncodableValue;
using Json = nlohmann::json;

class AnswerRecorder : public flutter::MethodResult {
 public:
  explicit AnswerRecorder(Answer* answer) : answer_(answer) {}

 protected:
  void DoSuccess(const EncodableValue* result) override {
    answer_->kind = Answer::Kind::kSuccess;
    if (result != nullptr) answer_->value = *result;
  }
  void DoError(const std::string& code, const std::string& message,
               const EncodableValue* details) override {
    answer_->kind = Answer::Kind::kError;
    answer_->code = code;
    answer_->message = message;
    if (details != nullptr) answer_->details = *details;
  }
  void DoNotImplemented() override {
    answer_->kind = Answer::Kind::kNotImplemented;
  }

 private:
  Answer* answer_;
};

Json ErrorToJson(const Answer& answer, const PrintOptions& options) {
  Json error = Json::object();
  error["code"] = ValueToJson(EncodableValue(answer.code), options);
  error["message"] = ValueToJson(EncodableValue(answer.message), options);
  if (!answer.details.IsNull()) {
    error["details"] = ValueToJson(answer.details, options);
  }
  return error;
}

}  // namespace

Answer DecodeReply(const std::vector<uint8_t>& reply) {
  Answer answer;
  if (reply.empty()) {
    answer.kind = Answer::Kind::kNotImplemented;
    return answer;
  }
  answer.kind = Answer::Kind::kMalformed;
  AnswerRecorder recorder(&answer);
  try {
    if (!flutter::StandardMethodCodec::SharedInstance().DecodeReplyInto(
            reply.data(), reply.size(), &recorder)) {
      answer = Answer();
      answer.kind = Answer::Kind::kMalformed;
    }
  } catch (const std::exception&) {
    // An error envelope whose code or message is not a string.
    answer = Answer();
    answer.kind = Answer::Kind::kMalformed;
  }
  return answer;
}

Json AnswerToJson(const Answer& answer, const PrintOptions& options) {
  Json json = Json::object();
  switch (answer.kind) {
    case Answer::Kind::kSuccess:
      json["success"] = ValueToJson(answer.value, options);
      break;
    case Answer::Kind::kError:
      json["error"] = ErrorToJson(answer, options);
      break;
    case Answer::Kind::kNotImplemented:
      json["notImplemented"] = true;
      break;
    default:
      break;
  }
  return json;
}

std::string HostFailureText(const Answer& answer) {
  switch (answer.kind) {
    case Answer::Kind::kNoHandler:
      return "nothing handles the channel (did the plug-in register?)";
    case Answer::Kind::kNoAnswer:
      return "the plug-in did not answer the call";
    case Answer::Kind::kMalformed:
      return "the plug-in's reply is not a valid answer";
    default:
      return "";
  }
}

int ExitStatusOf(const Answer& answer) {
  switch (answer.kind) {
    case Answer::Kind::kSuccess:
      return kExitSuccess;
    case Answer::Kind::kError:
      return kExitErrorAnswer;
    case Answer::Kind::kNotImplemented:
      return kExitNotImplemented;
    default:
      return kExitHostFailure;
  }
}

Json EventToJson(const std::vector<uint8_t>& message,
                 const PrintOptions& options) {
  Json json = Json::object();
  if (message.empty()) {
    json["endOfStream"] = true;
    return json;
  }
  Answer decoded = DecodeReply(message);
  if (decoded.kind == Answer::Kind::kSuccess) {
    json["event"] = ValueToJson(decoded.value, options);
  } else if (decoded.kind == Answer::Kind::kError) {
    json["eventError"] = ErrorToJson(decoded, options);
  } else {
    json["malformedEvent"] = ValueToJson(EncodableValue(message), options);
  }
  return json;
}

}  // namespace clipboard_host
