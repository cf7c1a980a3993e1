#ifndef CHANNELS_PLUGIN_REGISTRAR_H_
#define CHANNELS_PLUGIN_REGISTRAR_H_

#include <memory>
#include <set>

#include "channels/binary_messenger.h"
#include "channels/flutter_engine_api.h"
#include "channels/texture_registrar.h"

namespace flutter {

// A plug-in object whose lifetime a registrar manages.
class Plugin {
 public:
  virtual ~Plugin() = default;
};

// The system's view of the engine's plug-in registrar handle: it creates and
// owns the messenger and the texture registrar.
class PluginRegistrar {
 public:
  // `registrar` is borrowed.
  explicit PluginRegistrar(FlutterDesktopPluginRegistrarRef registrar);
  virtual ~PluginRegistrar();

  PluginRegistrar(const PluginRegistrar&) = delete;
  PluginRegistrar& operator=(const PluginRegistrar&) = delete;

  // Valid as long as the registrar.
  BinaryMessenger* GetMessenger() const { return messenger_.get(); }
  TextureRegistrar* GetTextureRegistrar() const {
    return texture_registrar_.get();
  }

  FlutterDesktopPluginRegistrarRef engine_registrar() const {
    return registrar_;
  }

  // Keeps `plugin` alive until the registrar is destroyed.
  void AddPlugin(std::unique_ptr<Plugin> plugin);

 protected:
  // Destroys the plug-ins first, while everything they may use still exists.
  void ClearPlugins() { plugins_.clear(); }

 private:
  FlutterDesktopPluginRegistrarRef registrar_;
  std::unique_ptr<BinaryMessenger> messenger_;
  std::unique_ptr<TextureRegistrar> texture_registrar_;
  std::set<std::unique_ptr<Plugin>> plugins_;
};

}  // namespace flutter

#endif  // CHANNELS_PLUGIN_REGISTRAR_H_
