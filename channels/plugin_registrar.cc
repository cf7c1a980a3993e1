#include "channels/plugin_registrar.h"

#include <utility>

#include "channels/binary_messenger_impl.h"
#include "channels/texture_registrar_impl.h"

namespace flutter {

PluginRegistrar::PluginRegistrar(FlutterDesktopPluginRegistrarRef registrar)
    : registrar_(registrar),
      messenger_(std::make_unique<BinaryMessengerImpl>(
          FlutterDesktopPluginRegistrarGetMessenger(registrar))),
      texture_registrar_(std::make_unique<TextureRegistrarImpl>(
          FlutterDesktopRegistrarGetTextureRegistrar(registrar))) {}

// Plug-ins first, then the messenger (and with it the installed handlers),
// then the texture registrar.
PluginRegistrar::~PluginRegistrar() {
  ClearPlugins();
  messenger_.reset();
}

void PluginRegistrar::AddPlugin(std::unique_ptr<Plugin> plugin) {
  plugins_.insert(std::move(plugin));
}

}  // namespace flutter
