#include "channels/texture_registrar_impl.h"

#include <cstring>
#include <memory>
#include <utility>

#include "codec/byte_streams.h"

namespace flutter {
namespace {

// Engine-facing callbacks; `user_data` is the registered TextureSource.
// Exceptions must not unwind into the engine: a failed frame is no frame.
const FlutterDesktopPixelBuffer* CopyPixelBuffer(size_t width, size_t height,
                                                 void* user_data) {
  auto* source =
      std::get_if<PixelBufferSource>(static_cast<TextureSource*>(user_data));
  if (source == nullptr) return nullptr;
  try {
    return source->CopyPixelBuffer(width, height);
  } catch (...) {
    return nullptr;
  }
}

const FlutterDesktopGpuSurfaceDescriptor* ObtainSurfaceDescriptor(
    size_t width, size_t height, void* user_data) {
  auto* source =
      std::get_if<GpuSurfaceSource>(static_cast<TextureSource*>(user_data));
  if (source == nullptr) return nullptr;
  try {
    return source->ObtainDescriptor(width, height);
  } catch (...) {
    return nullptr;
  }
}

void OnTextureUnregistered(void* user_data) {
  std::unique_ptr<std::function<void()>> completion(
      static_cast<std::function<void()>*>(user_data));
  try {
    (*completion)();
  } catch (...) {
  }
}

}  // namespace

int64_t TextureRegistrarImpl::RegisterTexture(TextureSource* source) {
  FlutterDesktopTextureInfo info;
  std::memset(&info, 0, sizeof(info));  // unused words and padding are zero
  if (source != nullptr && source->index() == 0) {
    info.type = kFlutterDesktopPixelBufferTexture;
    info.pixel_buffer_config.callback = CopyPixelBuffer;
    info.pixel_buffer_config.user_data = source;
  } else if (source != nullptr && source->index() == 1) {
    info.type = kFlutterDesktopGpuSurfaceTexture;
    info.gpu_surface_config.struct_size =
        sizeof(FlutterDesktopGpuSurfaceTextureConfig);
    info.gpu_surface_config.type = std::get<1>(*source).surface_type();
    info.gpu_surface_config.callback = ObtainSurfaceDescriptor;
    info.gpu_surface_config.user_data = source;
  } else {
    LogLine("Attempting to register unknown texture variant.");
    return -1;
  }
  return FlutterDesktopTextureRegistrarRegisterExternalTexture(
      texture_registrar_, &info);
}

bool TextureRegistrarImpl::MarkFrameAvailable(int64_t texture_id) {
  return FlutterDesktopTextureRegistrarMarkExternalTextureFrameAvailable(
      texture_registrar_, texture_id);
}

bool TextureRegistrarImpl::UnregisterTexture(int64_t texture_id) {
  UnregisterTexture(texture_id, nullptr);
  return true;
}

void TextureRegistrarImpl::UnregisterTexture(int64_t texture_id,
                                             std::function<void()> completion) {
  if (!completion) {
    FlutterDesktopTextureRegistrarUnregisterExternalTexture(
        texture_registrar_, texture_id, nullptr, nullptr);
    return;
  }
  // The engine may call the completion before this call returns.
  auto* holder = new std::function<void()>(std::move(completion));
  FlutterDesktopTextureRegistrarUnregisterExternalTexture(
      texture_registrar_, texture_id, OnTextureUnregistered, holder);
}

}  // namespace flutter
