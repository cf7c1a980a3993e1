#ifndef CHANNELS_ONE_SHOT_REPLY_H_
#define CHANNELS_ONE_SHOT_REPLY_H_

#include <cstdint>
#include <vector>

#include "channels/binary_messenger.h"

namespace flutter {

// Calls its ReplyCallback at most once. Later responses only log; dropping it
// unanswered logs a warning and leaves the message unanswered.
class OneShotReply {
 public:
  // An empty `callback` counts as already used.
  explicit OneShotReply(ReplyCallback callback)
      : callback_(std::move(callback)) {}
  ~OneShotReply();

  OneShotReply(const OneShotReply&) = delete;
  OneShotReply& operator=(const OneShotReply&) = delete;

  // Answers with `data` (null: no data). An empty vector is sent as the empty
  // response (null, 0).
  void Respond(const std::vector<uint8_t>* data);

 private:
  ReplyCallback callback_;
};

}  // namespace flutter

#endif  // CHANNELS_ONE_SHOT_REPLY_H_
