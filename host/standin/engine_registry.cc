// The running engines of the process, so that every handle the system passes
// in can be checked before it is used.
#include <atomic>
#include <cstdio>
#include <mutex>
#include <vector>

#include "host/standin/engine_state.h"

namespace standin {
namespace {

struct Registry {
  std::mutex mutex;
  std::vector<StandinEngine*> engines;
};

// Never destroyed: a plug-in may call in while the process exits.
Registry& GetRegistry() {
  static Registry* registry = new Registry;
  return *registry;
}

std::atomic<int64_t> invalid_handle_calls{0};

template <typename Matches>
StandinEngine* Find(Matches matches, const char* function) {
  {
    Registry& registry = GetRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    for (StandinEngine* engine : registry.engines) {
      if (matches(engine)) return engine;
    }
  }
  ++invalid_handle_calls;
  std::fprintf(stderr, "standin: %s called with an unknown handle\n", function);
  std::fflush(stderr);
  return nullptr;
}

}  // namespace

StandinEngine* EngineOfMessenger(FlutterDesktopMessengerRef handle,
                                 const char* function) {
  return Find([handle](StandinEngine* e) { return e->messenger() == handle; },
              function);
}

StandinEngine* EngineOfRegistrar(FlutterDesktopPluginRegistrarRef handle,
                                 const char* function) {
  return Find([handle](StandinEngine* e) { return e->registrar() == handle; },
              function);
}

StandinEngine* EngineOfTextureRegistrar(
    FlutterDesktopTextureRegistrarRef handle, const char* function) {
  return Find(
      [handle](StandinEngine* e) { return e->texture_registrar() == handle; },
      function);
}

StandinEngine* CheckedEngine(StandinEngine* engine, const char* function) {
  return Find([engine](StandinEngine* e) { return e == engine; }, function);
}

void AddEngine(StandinEngine* engine) {
  Registry& registry = GetRegistry();
  std::lock_guard<std::mutex> lock(registry.mutex);
  registry.engines.push_back(engine);
}

void RemoveEngine(StandinEngine* engine) {
  Registry& registry = GetRegistry();
  std::lock_guard<std::mutex> lock(registry.mutex);
  for (auto it = registry.engines.begin(); it != registry.engines.end(); ++it) {
    if (*it == engine) {
      registry.engines.erase(it);
      return;
    }
  }
}

}  // namespace standin

extern "C" int64_t StandinInvalidHandleCalls(void) {
  return standin::invalid_handle_calls.load();
}
