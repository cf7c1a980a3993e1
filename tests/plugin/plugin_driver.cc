#include "tests/plugin/plugin_driver.h"

#include <memory>

#include "channels/method_call.h"
#include "codec/standard_method_codec.h"
#include "plugin/clipboard_plugin.h"

namespace clipboard_test {

using flutter::EncodableMap;
using flutter::EncodableValue;
using flutter::StandardMethodCodec;

PluginDriver::PluginDriver(bool with_view) : engine_(with_view) {
  ClipboardPluginRegisterWithRegistrar(engine_.registrar());
}

standin::Response PluginDriver::Send(const std::string& channel,
                                     const std::string& method,
                                     const EncodableValue& arguments) {
  flutter::MethodCall call(method, std::make_unique<EncodableValue>(arguments));
  std::unique_ptr<std::vector<uint8_t>> message =
      StandardMethodCodec::SharedInstance().EncodeCall(call);
  return engine_.Deliver(channel, *message);
}

Answer PluginDriver::Call(const std::string& method,
                          const EncodableValue& arguments) {
  Answer answer;
  standin::Response response = Send(kMethodChannel, method, arguments);
  if (response.state != kStandinResponded) return answer;
  if (response.bytes.empty()) {
    answer.kind = Answer::Kind::kNotImplemented;
    answer.outcomes = 1;
    return answer;
  }
  RecordingResult result(&answer);
  StandardMethodCodec::SharedInstance().DecodeReplyInto(
      response.bytes.data(), response.bytes.size(), &result);
  return answer;
}

std::vector<uint8_t> SuccessEnvelope(const EncodableValue* value) {
  return *StandardMethodCodec::SharedInstance().EncodeSuccessReply(value);
}

std::vector<uint8_t> ErrorEnvelope(const std::string& code,
                                   const std::string& message) {
  return *StandardMethodCodec::SharedInstance().EncodeErrorReply(code, message,
                                                                 nullptr);
}

EncodableValue Map(
    std::initializer_list<std::pair<const char*, EncodableValue>> entries) {
  EncodableMap map;
  for (const auto& [key, value] : entries) map[EncodableValue(key)] = value;
  return EncodableValue(std::move(map));
}

EncodableValue Str(const std::string& text) { return EncodableValue(text); }

}  // namespace clipboard_test
