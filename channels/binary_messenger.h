#ifndef CHANNELS_BINARY_MESSENGER_H_
#define CHANNELS_BINARY_MESSENGER_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace flutter {

// Answers one incoming message. (null, 0) is the empty response.
using ReplyCallback = std::function<void(const uint8_t* reply, size_t size)>;

// Handles the messages that arrive on one channel; answers each through
// `reply`.
using MessageHandler = std::function<void(
    const uint8_t* message, size_t message_size, ReplyCallback reply)>;

// Moves raw byte messages between named channels of the application and the
// system, and keeps one handler per channel name.
class BinaryMessenger {
 public:
  BinaryMessenger() = default;
  virtual ~BinaryMessenger() = default;

  BinaryMessenger(const BinaryMessenger&) = delete;
  BinaryMessenger& operator=(const BinaryMessenger&) = delete;

  // Sends `message` on `channel`. An empty `reply` asks for no answer;
  // otherwise `reply` is called at most once, later, with the answer.
  virtual void Send(const std::string& channel, const uint8_t* message,
                    size_t message_size, ReplyCallback reply) const = 0;

  // Installs `handler` for `channel`, replacing any earlier one; an empty
  // handler removes the channel's handler.
  virtual void InstallHandler(const std::string& channel,
                              MessageHandler handler) = 0;
};

}  // namespace flutter

#endif  // CHANNELS_BINARY_MESSENGER_H_
