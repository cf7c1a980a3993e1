#ifndef CHANNELS_TEXTURE_REGISTRAR_H_
#define CHANNELS_TEXTURE_REGISTRAR_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <variant>

#include "channels/flutter_engine_api.h"

namespace flutter {

// A texture whose frames the engine copies from a pixel buffer.
class PixelBufferSource {
 public:
  using CopyBufferCallback = std::function<const FlutterDesktopPixelBuffer*(
      size_t width, size_t height)>;

  explicit PixelBufferSource(CopyBufferCallback copy_buffer)
      : copy_buffer_(std::move(copy_buffer)) {}

  const FlutterDesktopPixelBuffer* CopyPixelBuffer(size_t width,
                                                   size_t height) const {
    return copy_buffer_(width, height);
  }

 private:
  CopyBufferCallback copy_buffer_;
};

// A texture backed by a GPU surface of the given engine surface type.
class GpuSurfaceSource {
 public:
  using ObtainDescriptorCallback =
      std::function<const FlutterDesktopGpuSurfaceDescriptor*(size_t width,
                                                              size_t height)>;

  GpuSurfaceSource(FlutterDesktopGpuSurfaceType surface_type,
                   ObtainDescriptorCallback obtain_descriptor)
      : surface_type_(surface_type),
        obtain_descriptor_(std::move(obtain_descriptor)) {}

  FlutterDesktopGpuSurfaceType surface_type() const { return surface_type_; }
  const FlutterDesktopGpuSurfaceDescriptor* ObtainDescriptor(
      size_t width, size_t height) const {
    return obtain_descriptor_(width, height);
  }

 private:
  FlutterDesktopGpuSurfaceType surface_type_;
  ObtainDescriptorCallback obtain_descriptor_;
};

using TextureSource = std::variant<PixelBufferSource, GpuSurfaceSource>;

// Hands textures to the engine.
class TextureRegistrar {
 public:
  TextureRegistrar() = default;
  virtual ~TextureRegistrar() = default;

  TextureRegistrar(const TextureRegistrar&) = delete;
  TextureRegistrar& operator=(const TextureRegistrar&) = delete;

  // Returns the texture id, -1 on failure. The engine keeps the source's
  // address: it must stay alive, unmoved, until the texture is unregistered.
  virtual int64_t RegisterTexture(TextureSource* source) = 0;
  virtual bool MarkFrameAvailable(int64_t texture_id) = 0;
  // Always true.
  virtual bool UnregisterTexture(int64_t texture_id) = 0;
  // `completion` (may be empty) runs once the engine has let go of the
  // texture.
  virtual void UnregisterTexture(int64_t texture_id,
                                 std::function<void()> completion) = 0;
};

}  // namespace flutter

#endif  // CHANNELS_TEXTURE_REGISTRAR_H_
