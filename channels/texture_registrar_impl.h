#ifndef CHANNELS_TEXTURE_REGISTRAR_IMPL_H_
#define CHANNELS_TEXTURE_REGISTRAR_IMPL_H_

#include "channels/flutter_engine_api.h"
#include "channels/texture_registrar.h"

namespace flutter {

// The TextureRegistrar over the engine's texture registrar handle. It keeps
// nothing about the textures it registers.
class TextureRegistrarImpl : public TextureRegistrar {
 public:
  // `texture_registrar` is borrowed.
  explicit TextureRegistrarImpl(
      FlutterDesktopTextureRegistrarRef texture_registrar)
      : texture_registrar_(texture_registrar) {}

  int64_t RegisterTexture(TextureSource* source) override;
  bool MarkFrameAvailable(int64_t texture_id) override;
  bool UnregisterTexture(int64_t texture_id) override;
  void UnregisterTexture(int64_t texture_id,
                         std::function<void()> completion) override;

 private:
  FlutterDesktopTextureRegistrarRef texture_registrar_;
};

}  // namespace flutter

#endif  // CHANNELS_TEXTURE_REGISTRAR_IMPL_H_
