#include "channels/binary_messenger_impl.h"

#include <exception>
#include <memory>
#include <string>
#include <utility>

#include "channels/engine_reply.h"
#include "codec/byte_streams.h"

namespace flutter {
namespace {

// Exceptions must not unwind into the engine.
void LogException(const char* where, const char* what) {
  try {
    LogLine((std::string("Exception in ") + where + ": " + what).c_str());
  } catch (...) {
  }
}

// Engine-facing: one incoming message for the handler at `user_data`.
void ForwardMessage(FlutterDesktopMessengerRef messenger,
                    const FlutterDesktopMessage* message, void* user_data) {
  try {
    auto* handler = static_cast<MessageHandler*>(user_data);
    SharedEngineMessenger shared = ShareEngineMessenger(messenger);
    EngineReply reply(shared, message->response_handle);
    (*handler)(message->message, message->message_size, std::move(reply));
  } catch (const std::exception& e) {
    LogException("message handler", e.what());
  } catch (...) {
    LogException("message handler", "unknown");
  }
}

// Engine-facing: the answer to a message sent with a reply.
void ForwardReply(const uint8_t* reply, size_t reply_size, void* user_data) {
  std::unique_ptr<ReplyCallback> holder(static_cast<ReplyCallback*>(user_data));
  try {
    (*holder)(reply, reply_size);
  } catch (const std::exception& e) {
    LogException("reply handler", e.what());
  } catch (...) {
    LogException("reply handler", "unknown");
  }
}

}  // namespace

void BinaryMessengerImpl::Send(const std::string& channel,
                               const uint8_t* message, size_t message_size,
                               ReplyCallback reply) const {
  if (!reply) {
    FlutterDesktopMessengerSend(messenger_, channel.c_str(), message,
                                message_size);
    return;
  }
  auto holder = std::make_unique<ReplyCallback>(std::move(reply));
  if (FlutterDesktopMessengerSendWithReply(messenger_, channel.c_str(), message,
                                           message_size, ForwardReply,
                                           holder.get())) {
    holder.release();  // the engine calls ForwardReply, which frees it
  }
}

void BinaryMessengerImpl::InstallHandler(const std::string& channel,
                                         MessageHandler handler) {
  if (!handler) {
    // The engine forgets the callback before its handler is destroyed.
    FlutterDesktopMessengerSetCallback(messenger_, channel.c_str(), nullptr,
                                       nullptr);
    handlers_.erase(channel);
    return;
  }
  MessageHandler& stored = handlers_[channel];
  stored = std::move(handler);
  FlutterDesktopMessengerSetCallback(messenger_, channel.c_str(),
                                     ForwardMessage, &stored);
}

}  // namespace flutter
