// The state of one stand-in engine, shared by the files that implement the
// engine's C functions and the control interface.
#ifndef HOST_STANDIN_ENGINE_STATE_H_
#define HOST_STANDIN_ENGINE_STATE_H_

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "host/standin/standin_engine.h"

// Defined at global scope: the C interface declares it there.
struct StandinEngine {
  // One message delivered to a callback. Its address is the message's
  // response handle, so handles are unique for the engine's lifetime.
  struct Delivered {
    uint64_t id = 0;
    StandinResponseState state = kStandinPending;
    std::vector<uint8_t> response;
    bool null_response = false;
  };

  struct Callback {
    FlutterDesktopMessageCallback function = nullptr;
    void* user_data = nullptr;
  };

  struct Outbound {
    uint64_t id = 0;
    std::string channel;
    std::vector<uint8_t> bytes;
    bool with_reply = false;
    bool reply_pending = false;
  };

  struct PendingReply {
    FlutterDesktopBinaryReply function = nullptr;
    void* user_data = nullptr;
  };

  // Only the addresses of these matter: they are the engine's handles.
  char messenger_tag = 0;
  char registrar_tag = 0;
  char texture_registrar_tag = 0;
  char view_tag = 0;

  bool with_view = true;
  bool available = true;
  bool accept_send_with_reply = true;
  int lock_depth = 0;
  StandinCounters counters = {};

  std::map<std::string, Callback> callbacks;
  std::deque<std::unique_ptr<Delivered>> delivered;  // id N at index N - 1
  std::vector<std::unique_ptr<Outbound>> outbound;
  uint64_t next_outbound_id = 1;
  std::map<uint64_t, PendingReply> pending_replies;

  std::set<int64_t> textures;
  int64_t next_texture_id = 1;
  bool has_texture_info = false;
  FlutterDesktopTextureInfo last_texture_info = {};

  FlutterDesktopMessengerRef messenger() {
    return reinterpret_cast<FlutterDesktopMessengerRef>(&messenger_tag);
  }
  FlutterDesktopPluginRegistrarRef registrar() {
    return reinterpret_cast<FlutterDesktopPluginRegistrarRef>(&registrar_tag);
  }
  FlutterDesktopTextureRegistrarRef texture_registrar() {
    return reinterpret_cast<FlutterDesktopTextureRegistrarRef>(
        &texture_registrar_tag);
  }
  FlutterDesktopViewRef view() {
    return with_view ? reinterpret_cast<FlutterDesktopViewRef>(&view_tag)
                     : nullptr;
  }
};

namespace standin {

// The running engine that owns a handle, or null (after writing the
// unknown-handle line and counting the call) when none does. Handles are
// compared, never dereferenced.
StandinEngine* EngineOfMessenger(FlutterDesktopMessengerRef handle,
                                 const char* function);
StandinEngine* EngineOfRegistrar(FlutterDesktopPluginRegistrarRef handle,
                                 const char* function);
StandinEngine* EngineOfTextureRegistrar(
    FlutterDesktopTextureRegistrarRef handle, const char* function);
// As above for a control-interface call; null engines are unknown too.
StandinEngine* CheckedEngine(StandinEngine* engine, const char* function);

void AddEngine(StandinEngine* engine);
void RemoveEngine(StandinEngine* engine);

}  // namespace standin

#endif  // HOST_STANDIN_ENGINE_STATE_H_
