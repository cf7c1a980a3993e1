#ifndef CHANNELS_BINARY_MESSENGER_IMPL_H_
#define CHANNELS_BINARY_MESSENGER_IMPL_H_

#include <map>
#include <string>

#include "channels/binary_messenger.h"
#include "channels/flutter_engine_api.h"

namespace flutter {

// The BinaryMessenger over the engine's messenger handle. Every incoming
// message reaches its channel's handler with an EngineReply.
//
// Destroying it does not call the engine: the registrar that owns it is
// destroyed when the library is unloaded, and the engine may be gone by then.
class BinaryMessengerImpl : public BinaryMessenger {
 public:
  // `messenger` is borrowed; no reference is taken for the wrapper itself.
  explicit BinaryMessengerImpl(FlutterDesktopMessengerRef messenger)
      : messenger_(messenger) {}

  void Send(const std::string& channel, const uint8_t* message,
            size_t message_size, ReplyCallback reply) const override;
  void InstallHandler(const std::string& channel,
                      MessageHandler handler) override;

 private:
  FlutterDesktopMessengerRef messenger_;
  // The engine holds the address of each stored handler; map nodes keep it
  // fixed until the entry is removed.
  std::map<std::string, MessageHandler> handlers_;
};

}  // namespace flutter

#endif  // CHANNELS_BINARY_MESSENGER_IMPL_H_
