// The engine's registrar and texture registrar functions.
#include "host/standin/engine_state.h"

extern "C" {

FlutterDesktopMessengerRef FlutterDesktopPluginRegistrarGetMessenger(
    FlutterDesktopPluginRegistrarRef registrar) {
  StandinEngine* engine = standin::EngineOfRegistrar(
      registrar, "FlutterDesktopPluginRegistrarGetMessenger");
  return engine == nullptr ? nullptr : engine->messenger();
}

FlutterDesktopTextureRegistrarRef FlutterDesktopRegistrarGetTextureRegistrar(
    FlutterDesktopPluginRegistrarRef registrar) {
  StandinEngine* engine = standin::EngineOfRegistrar(
      registrar, "FlutterDesktopRegistrarGetTextureRegistrar");
  return engine == nullptr ? nullptr : engine->texture_registrar();
}

FlutterDesktopViewRef FlutterDesktopPluginRegistrarGetView(
    FlutterDesktopPluginRegistrarRef registrar) {
  StandinEngine* engine = standin::EngineOfRegistrar(
      registrar, "FlutterDesktopPluginRegistrarGetView");
  return engine == nullptr ? nullptr : engine->view();
}

int64_t FlutterDesktopTextureRegistrarRegisterExternalTexture(
    FlutterDesktopTextureRegistrarRef texture_registrar,
    const FlutterDesktopTextureInfo* info) {
  StandinEngine* engine = standin::EngineOfTextureRegistrar(
      texture_registrar,
      "FlutterDesktopTextureRegistrarRegisterExternalTexture");
  if (engine == nullptr) return -1;
  if (info == nullptr) {
    ++engine->counters.invalid_calls;
    return -1;
  }
  ++engine->counters.texture_registrations;
  engine->has_texture_info = true;
  engine->last_texture_info = *info;
  int64_t id = engine->next_texture_id++;
  engine->textures.insert(id);
  return id;
}

bool FlutterDesktopTextureRegistrarMarkExternalTextureFrameAvailable(
    FlutterDesktopTextureRegistrarRef texture_registrar, int64_t texture_id) {
  StandinEngine* engine = standin::EngineOfTextureRegistrar(
      texture_registrar,
      "FlutterDesktopTextureRegistrarMarkExternalTextureFrameAvailable");
  if (engine == nullptr) return false;
  ++engine->counters.texture_frames_marked;
  return engine->textures.count(texture_id) != 0;
}

// The completion runs before this returns; the real engine runs it later,
// which callers must not rely on either way.
void FlutterDesktopTextureRegistrarUnregisterExternalTexture(
    FlutterDesktopTextureRegistrarRef texture_registrar, int64_t texture_id,
    FlutterDesktopOnTextureUnregistered callback, void* user_data) {
  StandinEngine* engine = standin::EngineOfTextureRegistrar(
      texture_registrar,
      "FlutterDesktopTextureRegistrarUnregisterExternalTexture");
  if (engine == nullptr) return;
  ++engine->counters.texture_unregistrations;
  engine->textures.erase(texture_id);
  if (callback != nullptr) {
    ++engine->counters.texture_completions;
    callback(user_data);
  }
}

}  // extern "C"
