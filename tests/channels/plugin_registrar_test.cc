#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "channels/plugin_registrar_windows.h"
#include "host/standin/standin_engine.h"
#include "tests/channels/channel_test_support.h"

namespace flutter {
namespace {

using testing_support::ExpectEngineBalanced;

const char kChannel[] = "test/channel";

TEST(PluginRegistrarTest, ViewOnlyWhenTheEngineHasOne) {
  for (bool with_view : {true, false}) {
    SCOPED_TRACE(with_view);
    standin::Engine engine(with_view);
    PluginRegistrarWindows registrar(engine.registrar());
    EXPECT_EQ(registrar.GetView() != nullptr, with_view);
    ASSERT_NE(registrar.GetTextureRegistrar(), nullptr);

    // The messenger works the same either way.
    registrar.GetMessenger()->InstallHandler(
        kChannel, [](const uint8_t*, size_t, ReplyCallback reply) {
          const uint8_t answer[] = {3};
          reply(answer, 1);
        });
    EXPECT_EQ(engine.Deliver(kChannel, {1}).bytes, std::vector<uint8_t>{3});
    ExpectEngineBalanced(engine.counters());
  }
}

// Records its destruction in a shared log.
class Tracer {
 public:
  Tracer(std::string* log, const char* name) : log_(log), name_(name) {}
  ~Tracer() { *log_ += name_; }

 private:
  std::string* log_;
  const char* name_;
};

class TracedPlugin : public Plugin {
 public:
  explicit TracedPlugin(std::string* log) : tracer_(log, "plugin;") {}

 private:
  Tracer tracer_;
};

TEST(PluginRegistrarTest, PluginsGoBeforeTheMessengerAndItsHandlers) {
  standin::Engine engine;
  std::string log;
  auto registrar = std::make_unique<PluginRegistrarWindows>(engine.registrar());
  registrar->AddPlugin(std::make_unique<TracedPlugin>(&log));
  auto tracer = std::make_shared<Tracer>(&log, "handler;");
  registrar->GetMessenger()->InstallHandler(
      kChannel, [tracer](const uint8_t*, size_t, ReplyCallback) {});
  tracer.reset();

  registrar.reset();
  EXPECT_EQ(log, "plugin;handler;");
}

// The registrar outlives the engine at library unload: destroying it then
// must not call the engine.
TEST(PluginRegistrarTest, DestroyedAfterTheEngineStoppedCallsNothing) {
  auto engine = std::make_unique<standin::Engine>();
  auto registrar =
      std::make_unique<PluginRegistrarWindows>(engine->registrar());
  registrar->GetMessenger()->InstallHandler(
      kChannel, [](const uint8_t*, size_t, ReplyCallback) {});
  int64_t invalid_before = StandinInvalidHandleCalls();
  engine.reset();
  registrar.reset();
  EXPECT_EQ(StandinInvalidHandleCalls(), invalid_before);
}

}  // namespace
}  // namespace flutter
