#include "channels/plugin_registrar_windows.h"

namespace flutter {

PluginRegistrarWindows::PluginRegistrarWindows(
    FlutterDesktopPluginRegistrarRef registrar)
    : PluginRegistrar(registrar) {
  FlutterDesktopViewRef view = FlutterDesktopPluginRegistrarGetView(registrar);
  if (view != nullptr) view_ = std::make_unique<FlutterView>(view);
}

}  // namespace flutter
