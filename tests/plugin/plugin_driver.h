#ifndef TESTS_PLUGIN_PLUGIN_DRIVER_H_
#define TESTS_PLUGIN_PLUGIN_DRIVER_H_

#include <cstdint>
#include <string>
#include <vector>

#include "codec/encodable_value.h"
#include "host/standin/standin_engine.h"
#include "tests/plugin/recording_result.h"

namespace clipboard_test {

inline constexpr char kMethodChannel[] = "net.vostrine.clipboard/methods";
inline constexpr char kEventChannel[] = "net.vostrine.clipboard/events";

// Drives the plug-in DLL as the application does: a stand-in engine, the
// plug-in registered with it through its export, and method calls sent as
// encoded messages whose replies are decoded.
class PluginDriver {
 public:
  explicit PluginDriver(bool with_view = true);

  // Sends `method` with `arguments` on the method channel and decodes the
  // reply. An empty reply reads as not implemented; a message left
  // unanswered reads as no answer.
  Answer Call(const std::string& method,
              const flutter::EncodableValue& arguments = {});

  // Sends an encoded call on `channel` and returns the raw reply.
  standin::Response Send(const std::string& channel, const std::string& method,
                         const flutter::EncodableValue& arguments = {});

  standin::Engine& engine() { return engine_; }

 private:
  standin::Engine engine_;
};

// The bytes of a success envelope for `value`, and of an error envelope.
std::vector<uint8_t> SuccessEnvelope(const flutter::EncodableValue* value);
std::vector<uint8_t> ErrorEnvelope(const std::string& code,
                                   const std::string& message);

// Shorthands for building arguments.
flutter::EncodableValue Map(
    std::initializer_list<std::pair<const char*, flutter::EncodableValue>>
        entries);
flutter::EncodableValue Str(const std::string& text);

}  // namespace clipboard_test

#endif  // TESTS_PLUGIN_PLUGIN_DRIVER_H_
