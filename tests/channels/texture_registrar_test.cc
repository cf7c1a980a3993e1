#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "channels/texture_registrar_impl.h"
#include "host/standin/standin_engine.h"

namespace flutter {
namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

static_assert(sizeof(FlutterDesktopTextureInfo) == 40,
              "type word, then four 64-bit words");

// Fake engine records: only their addresses travel.
const auto* const kPixels = reinterpret_cast<const FlutterDesktopPixelBuffer*>(
    static_cast<uintptr_t>(0x1000));
const auto* const kSurface =
    reinterpret_cast<const FlutterDesktopGpuSurfaceDescriptor*>(
        static_cast<uintptr_t>(0x2000));

// The record as the engine reads it: the type word and four 64-bit words.
struct RawInfo {
  uint32_t type, alignment;
  uint64_t words[4];
};

RawInfo Raw(const FlutterDesktopTextureInfo& info) {
  RawInfo raw;
  std::memcpy(&raw, &info, sizeof(raw));
  return raw;
}

class TextureRegistrarTest : public ::testing::Test {
 protected:
  standin::Engine engine_;
  TextureRegistrarImpl registrar_{
      FlutterDesktopRegistrarGetTextureRegistrar(engine_.registrar())};
};

TEST_F(TextureRegistrarTest, PixelBufferRecordReachesTheSource) {
  size_t asked_width = 0, asked_height = 0;
  TextureSource source(PixelBufferSource([&](size_t width, size_t height) {
    asked_width = width;
    asked_height = height;
    return kPixels;
  }));
  int64_t id = registrar_.RegisterTexture(&source);
  EXPECT_EQ(id, 1);

  FlutterDesktopTextureInfo info;
  ASSERT_TRUE(engine_.LastTextureInfo(&info));
  RawInfo raw = Raw(info);
  EXPECT_EQ(raw.type, 0u);
  EXPECT_EQ(raw.alignment, 0u);
  EXPECT_EQ(raw.words[1], reinterpret_cast<uintptr_t>(&source));
  EXPECT_EQ(raw.words[2], 0u);
  EXPECT_EQ(raw.words[3], 0u);
  EXPECT_EQ(info.pixel_buffer_config.callback(
                3, 4, info.pixel_buffer_config.user_data),
            kPixels);
  EXPECT_EQ(asked_width, 3u);
  EXPECT_EQ(asked_height, 4u);

  EXPECT_TRUE(registrar_.MarkFrameAvailable(id));
  EXPECT_FALSE(registrar_.MarkFrameAvailable(id + 1));
}

TEST_F(TextureRegistrarTest, GpuSurfaceRecordReachesTheSource) {
  TextureSource source(GpuSurfaceSource(7, [](size_t width, size_t height) {
    return width == 5 && height == 6 ? kSurface : nullptr;
  }));
  registrar_.RegisterTexture(&source);

  FlutterDesktopTextureInfo info;
  ASSERT_TRUE(engine_.LastTextureInfo(&info));
  RawInfo raw = Raw(info);
  EXPECT_EQ(raw.type, 1u);
  EXPECT_EQ(raw.alignment, 0u);
  EXPECT_EQ(raw.words[0], 32u);
  EXPECT_EQ(raw.words[1], 7u);  // the surface type, upper half zero
  EXPECT_EQ(raw.words[3], reinterpret_cast<uintptr_t>(&source));
  const FlutterDesktopGpuSurfaceTextureConfig& gpu = info.gpu_surface_config;
  EXPECT_EQ(gpu.callback(5, 6, gpu.user_data), kSurface);
}

TEST_F(TextureRegistrarTest, SourceWithoutAlternativeIsRefused) {
  // Converting to the callback throws inside emplace, after the old
  // alternative is gone: the variant ends up holding none.
  struct Throws {
    operator PixelBufferSource::CopyBufferCallback() const {
      throw std::runtime_error("no");
    }
  };
  TextureSource valueless(PixelBufferSource(nullptr));
  EXPECT_THROW(valueless.emplace<PixelBufferSource>(Throws{}),
               std::runtime_error);
  ASSERT_TRUE(valueless.valueless_by_exception());

  for (TextureSource* source :
       {static_cast<TextureSource*>(nullptr), &valueless}) {
    CaptureStderr();
    EXPECT_EQ(registrar_.RegisterTexture(source), -1);
    EXPECT_EQ(GetCapturedStderr(),
              "Attempting to register unknown texture variant.\n");
  }
  EXPECT_EQ(engine_.counters().texture_registrations, 0);
}

TEST_F(TextureRegistrarTest, UnregisterWithAndWithoutCompletion) {
  EXPECT_TRUE(registrar_.UnregisterTexture(1));
  EXPECT_EQ(engine_.counters().texture_completions, 0);

  int completions = 0;
  registrar_.UnregisterTexture(2, [&completions] { ++completions; });
  EXPECT_EQ(completions, 1);
  StandinCounters counters = engine_.counters();
  EXPECT_EQ(counters.texture_unregistrations, 2);
  EXPECT_EQ(counters.texture_completions, 1);
}

}  // namespace
}  // namespace flutter
