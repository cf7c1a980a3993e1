// The export of clipboard_plugin.dll: registration, the plug-in object and
// the process-wide lists that keep what registration builds alive until the
// library is unloaded.
#include "plugin/clipboard_plugin.h"

#include <memory>
#include <utility>
#include <vector>

#include "channels/event_channel.h"
#include "channels/event_sink.h"
#include "channels/method_channel.h"
#include "channels/plugin_registrar_windows.h"
#include "channels/stream_handler_functions.h"
#include "codec/standard_method_codec.h"
#include "plugin/method_dispatch.h"

namespace {

constexpr char kMethodChannelName[] = "net.vostrine.clipboard/methods";
constexpr char kEventChannelName[] = "net.vostrine.clipboard/events";

// The plug-in object. Its only state is the sink of the current listener of
// the event channel, which it keeps but never sends on: the clipboard is not
// monitored.
class ClipboardPluginImpl {
 public:
  ClipboardPluginImpl() = default;
  virtual ~ClipboardPluginImpl() = default;
  ClipboardPluginImpl(const ClipboardPluginImpl&) = delete;
  ClipboardPluginImpl& operator=(const ClipboardPluginImpl&) = delete;

  void HandleMethodCall(const flutter::MethodCall& call,
                        std::unique_ptr<flutter::MethodResult> result) {
    clipboard::HandleMethodCall(call, std::move(result));
  }

  // A sink that leaves the slot is destroyed: nothing uses it afterwards.
  std::unique_ptr<flutter::StreamHandlerError> OnListen(
      std::unique_ptr<flutter::EventSink>&& events) {
    event_sink_ = std::move(events);
    return nullptr;
  }
  std::unique_ptr<flutter::StreamHandlerError> OnCancel() {
    event_sink_.reset();
    return nullptr;
  }

 private:
  std::unique_ptr<flutter::EventSink> event_sink_;
};

// Created at the first registration, after the shared codec, and destroyed
// at unload in reverse order: the registrars (with the messengers and the
// handlers that point at the plug-ins) go before the plug-ins.
std::vector<std::unique_ptr<ClipboardPluginImpl>>& Plugins() {
  static std::vector<std::unique_ptr<ClipboardPluginImpl>> plugins;
  return plugins;
}
std::vector<std::unique_ptr<flutter::PluginRegistrarWindows>>& Registrars() {
  static std::vector<std::unique_ptr<flutter::PluginRegistrarWindows>>
      registrars;
  return registrars;
}

void Register(FlutterDesktopPluginRegistrarRef engine_registrar) {
  auto registrar =
      std::make_unique<flutter::PluginRegistrarWindows>(engine_registrar);
  auto plugin = std::make_unique<ClipboardPluginImpl>();
  flutter::BinaryMessenger* messenger = registrar->GetMessenger();
  const flutter::MethodChannel methods(
      messenger, kMethodChannelName,
      &flutter::StandardMethodCodec::SharedInstance());
  const flutter::EventChannel events(
      messenger, kEventChannelName,
      &flutter::StandardMethodCodec::SharedInstance());

  // Parked before any handler can reach them, so that a handler is never
  // left pointing at an object that a failing registration destroyed.
  ClipboardPluginImpl* target = plugin.get();
  Plugins().push_back(std::move(plugin));
  Registrars().push_back(std::move(registrar));

  methods.InstallCallHandler(
      [target](const flutter::MethodCall& call,
               std::unique_ptr<flutter::MethodResult> result) {
        target->HandleMethodCall(call, std::move(result));
      });
  events.InstallStreamHandler(std::make_unique<flutter::StreamHandlerFunctions>(
      [target](const flutter::EncodableValue*,
               std::unique_ptr<flutter::EventSink>&& sink) {
        return target->OnListen(std::move(sink));
      },
      [target](const flutter::EncodableValue*) { return target->OnCancel(); }));
}

}  // namespace

void ClipboardPluginRegisterWithRegistrar(
    FlutterDesktopPluginRegistrarRef registrar) {
  // Nothing may escape into the host. A registration that runs out of memory
  // is left incomplete; the host has no way to learn of it.
  try {
    Register(registrar);
  } catch (...) {
  }
}
