#ifndef PLUGIN_CLIPBOARD_PLUGIN_H_
#define PLUGIN_CLIPBOARD_PLUGIN_H_

// The one export of clipboard_plugin.dll.

#include "channels/flutter_engine_api.h"

#if defined(CLIPBOARD_PLUGIN_IMPLEMENTATION)
#define CLIPBOARD_PLUGIN_EXPORT __declspec(dllexport)
#else
#define CLIPBOARD_PLUGIN_EXPORT __declspec(dllimport)
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Registers the clipboard plug-in with the engine's plug-in registrar: the
// method channel "net.vostrine.clipboard/methods" and the event channel
// "net.vostrine.clipboard/events". May be called once per registrar; what it
// creates lives until the library is unloaded.
CLIPBOARD_PLUGIN_EXPORT void ClipboardPluginRegisterWithRegistrar(
    FlutterDesktopPluginRegistrarRef registrar);

#ifdef __cplusplus
}  // extern "C"
#endif

#endif  // PLUGIN_CLIPBOARD_PLUGIN_H_
