#include "channels/one_shot_reply.h"

#include "codec/byte_streams.h"

namespace flutter {

OneShotReply::~OneShotReply() {
  if (callback_) {
    LogLine("Warning: Failed to respond to a message. This is a memory leak.");
  }
}

void OneShotReply::Respond(const std::vector<uint8_t>* data) {
  if (!callback_) {
    LogLine(
        "Error: Only one of Success, Error, or NotImplemented can be called,"
        " and it can be called exactly once. Ignoring duplicate result.");
    return;
  }
  const uint8_t* bytes =
      data != nullptr && !data->empty() ? data->data() : nullptr;
  size_t size = data != nullptr ? data->size() : 0;
  callback_(bytes, size);
  // Dropping the callback returns what it holds, such as the engine
  // reference of an EngineReply.
  callback_ = nullptr;
}

}  // namespace flutter
