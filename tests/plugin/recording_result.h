#ifndef TESTS_PLUGIN_RECORDING_RESULT_H_
#define TESTS_PLUGIN_RECORDING_RESULT_H_

#include <optional>
#include <ostream>
#include <string>

#include "channels/method_result.h"
#include "codec/encodable_value.h"

namespace clipboard_test {

// What a method call was answered with.
struct Answer {
  enum class Kind { kNone, kSuccess, kError, kNotImplemented };
  Kind kind = Kind::kNone;
  flutter::EncodableValue value;  // the success value; null for none
  std::string code;
  std::string message;
  std::optional<flutter::EncodableValue> details;
  int outcomes = 0;  // more than one is a fault of the answering code
};

inline std::ostream& operator<<(std::ostream& out, const Answer& answer) {
  switch (answer.kind) {
    case Answer::Kind::kNone:
      return out << "no answer";
    case Answer::Kind::kSuccess:
      return out << "success (value of kind " << answer.value.index() << ")";
    case Answer::Kind::kError:
      return out << "error " << answer.code << ": " << answer.message;
    case Answer::Kind::kNotImplemented:
      return out << "not implemented";
  }
  return out;
}

// A result that writes its outcome into an Answer that the test owns.
class RecordingResult : public flutter::MethodResult {
 public:
  explicit RecordingResult(Answer* answer) : answer_(answer) {}

 protected:
  void DoSuccess(const flutter::EncodableValue* result) override {
    Record(Answer::Kind::kSuccess);
    answer_->value = result ? *result : flutter::EncodableValue();
  }
  void DoError(const std::string& code, const std::string& message,
               const flutter::EncodableValue* details) override {
    Record(Answer::Kind::kError);
    answer_->code = code;
    answer_->message = message;
    if (details) answer_->details = *details;
  }
  void DoNotImplemented() override { Record(Answer::Kind::kNotImplemented); }

 private:
  void Record(Answer::Kind kind) {
    answer_->kind = kind;
    ++answer_->outcomes;
  }

  Answer* answer_;
};

}  // namespace clipboard_test

#endif  // TESTS_PLUGIN_RECORDING_RESULT_H_
