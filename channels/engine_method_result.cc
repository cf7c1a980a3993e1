#include "channels/engine_method_result.h"

namespace flutter {

void EngineMethodResult::DoSuccess(const EncodableValue* result) {
  reply_->Respond(codec_->EncodeSuccessReply(result).get());
}

void EngineMethodResult::DoError(const std::string& error_code,
                                 const std::string& error_message,
                                 const EncodableValue* error_details) {
  reply_->Respond(
      codec_->EncodeErrorReply(error_code, error_message, error_details).get());
}

void EngineMethodResult::DoNotImplemented() { reply_->Respond(nullptr); }

}  // namespace flutter
