#ifndef CHANNELS_METHOD_RESULT_H_
#define CHANNELS_METHOD_RESULT_H_

#include <string>

#include "codec/encodable_value.h"

namespace flutter {

// The one-shot answer to a method call: success with an optional value, an
// error, or not implemented. Implementations decide what a second answer or
// no answer at all means.
class MethodResult {
 public:
  MethodResult() = default;
  virtual ~MethodResult() = default;

  MethodResult(const MethodResult&) = delete;
  MethodResult& operator=(const MethodResult&) = delete;

  void Success(const EncodableValue& result) { DoSuccess(&result); }
  void Success() { DoSuccess(nullptr); }
  // Without details, DoError receives null details.
  void Error(const std::string& error_code,
             const std::string& error_message = "") {
    DoError(error_code, error_message, nullptr);
  }
  void Error(const std::string& error_code, const std::string& error_message,
             const EncodableValue& error_details) {
    DoError(error_code, error_message, &error_details);
  }
  void NotImplemented() { DoNotImplemented(); }

 protected:
  // `result` is null for no value.
  virtual void DoSuccess(const EncodableValue* result) = 0;
  // `error_details` is null for none.
  virtual void DoError(const std::string& error_code,
                       const std::string& error_message,
                       const EncodableValue* error_details) = 0;
  virtual void DoNotImplemented() = 0;
};

}  // namespace flutter

#endif  // CHANNELS_METHOD_RESULT_H_
