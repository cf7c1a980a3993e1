#ifndef CHANNELS_PLUGIN_REGISTRAR_WINDOWS_H_
#define CHANNELS_PLUGIN_REGISTRAR_WINDOWS_H_

#include <memory>

#include "channels/flutter_engine_api.h"
#include "channels/flutter_view.h"
#include "channels/plugin_registrar.h"

namespace flutter {

// A PluginRegistrar that also holds the host's view, when there is one.
class PluginRegistrarWindows : public PluginRegistrar {
 public:
  // `registrar` is borrowed.
  explicit PluginRegistrarWindows(FlutterDesktopPluginRegistrarRef registrar);
  // Plug-ins first, then the view, then what PluginRegistrar owns.
  ~PluginRegistrarWindows() override { ClearPlugins(); }

  // Null when the engine runs without a view.
  FlutterView* GetView() const { return view_.get(); }

 private:
  std::unique_ptr<FlutterView> view_;
};

}  // namespace flutter

#endif  // CHANNELS_PLUGIN_REGISTRAR_WINDOWS_H_
