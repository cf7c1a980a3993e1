// The C interface of the Flutter Windows engine (flutter_windows.dll) that
// the channel layer calls: messenger, plug-in registrar, view and texture
// registrar. The declarations mirror the engine's C ABI; every handle is an
// opaque pointer that only the engine dereferences.
#ifndef CHANNELS_FLUTTER_ENGINE_API_H_
#define CHANNELS_FLUTTER_ENGINE_API_H_

#include <stddef.h>
#include <stdint.h>

#ifndef __cplusplus
#include <stdbool.h>
#endif

// On Windows the functions live in flutter_windows.dll. The engine stand-in
// defines FLUTTER_ENGINE_IMPLEMENTATION while it builds that DLL.
#if defined(_WIN32)
#if defined(FLUTTER_ENGINE_IMPLEMENTATION)
#define FLUTTER_ENGINE_API __declspec(dllexport)
#else
#define FLUTTER_ENGINE_API __declspec(dllimport)
#endif
#else
#define FLUTTER_ENGINE_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct FlutterDesktopMessenger* FlutterDesktopMessengerRef;
typedef struct FlutterDesktopPluginRegistrar* FlutterDesktopPluginRegistrarRef;
typedef struct FlutterDesktopTextureRegistrar*
    FlutterDesktopTextureRegistrarRef;
typedef struct FlutterDesktopView* FlutterDesktopViewRef;
// Identifies one incoming message; valid for exactly one
// FlutterDesktopMessengerSendResponse.
typedef struct FlutterDesktopMessageResponseHandle
    FlutterDesktopMessageResponseHandle;

// One incoming message, as the engine hands it to a channel's callback.
typedef struct {
  size_t struct_size;  // sizeof(FlutterDesktopMessage)
  const char* channel;
  const uint8_t* message;
  size_t message_size;
  const FlutterDesktopMessageResponseHandle* response_handle;
} FlutterDesktopMessage;

typedef void (*FlutterDesktopMessageCallback)(
    FlutterDesktopMessengerRef messenger, const FlutterDesktopMessage* message,
    void* user_data);
typedef void (*FlutterDesktopBinaryReply)(const uint8_t* data, size_t data_size,
                                          void* user_data);
typedef void (*FlutterDesktopOnTextureUnregistered)(void* user_data);

// The engine's own frame records; the channel layer only passes their
// addresses through.
typedef struct FlutterDesktopPixelBuffer FlutterDesktopPixelBuffer;
typedef struct FlutterDesktopGpuSurfaceDescriptor
    FlutterDesktopGpuSurfaceDescriptor;

typedef enum {
  kFlutterDesktopPixelBufferTexture = 0,
  kFlutterDesktopGpuSurfaceTexture = 1,
} FlutterDesktopTextureType;

// An engine code for the kind of GPU surface; 32 bits wide.
typedef int32_t FlutterDesktopGpuSurfaceType;

typedef const FlutterDesktopPixelBuffer* (
    *FlutterDesktopPixelBufferTextureCallback)(size_t width, size_t height,
                                               void* user_data);
typedef const FlutterDesktopGpuSurfaceDescriptor* (
    *FlutterDesktopGpuSurfaceTextureCallback)(size_t width, size_t height,
                                              void* user_data);

typedef struct {
  FlutterDesktopPixelBufferTextureCallback callback;
  void* user_data;
} FlutterDesktopPixelBufferTextureConfig;

typedef struct {
  size_t struct_size;  // sizeof(FlutterDesktopGpuSurfaceTextureConfig)
  FlutterDesktopGpuSurfaceType type;
  FlutterDesktopGpuSurfaceTextureCallback callback;
  void* user_data;
} FlutterDesktopGpuSurfaceTextureConfig;

// The registration record of an external texture: the type, then the
// configuration of that type. Words that the type does not use are zero.
typedef struct {
  FlutterDesktopTextureType type;
  union {
    FlutterDesktopPixelBufferTextureConfig pixel_buffer_config;
    FlutterDesktopGpuSurfaceTextureConfig gpu_surface_config;
  };
} FlutterDesktopTextureInfo;

// Messenger. Send and SendWithReply copy the message before they return.
// SendWithReply returning true promises exactly one later call of `reply`;
// false promises none.
FLUTTER_ENGINE_API bool FlutterDesktopMessengerSend(
    FlutterDesktopMessengerRef messenger, const char* channel,
    const uint8_t* message, size_t message_size);
FLUTTER_ENGINE_API bool FlutterDesktopMessengerSendWithReply(
    FlutterDesktopMessengerRef messenger, const char* channel,
    const uint8_t* message, size_t message_size,
    FlutterDesktopBinaryReply reply, void* user_data);
FLUTTER_ENGINE_API void FlutterDesktopMessengerSendResponse(
    FlutterDesktopMessengerRef messenger,
    const FlutterDesktopMessageResponseHandle* handle, const uint8_t* data,
    size_t data_length);
// A null callback (with null user data) removes the channel's callback.
FLUTTER_ENGINE_API void FlutterDesktopMessengerSetCallback(
    FlutterDesktopMessengerRef messenger, const char* channel,
    FlutterDesktopMessageCallback callback, void* user_data);
// Reference counting: AddRef returns the handle to use from then on.
FLUTTER_ENGINE_API FlutterDesktopMessengerRef
FlutterDesktopMessengerAddRef(FlutterDesktopMessengerRef messenger);
FLUTTER_ENGINE_API void FlutterDesktopMessengerRelease(
    FlutterDesktopMessengerRef messenger);
// False once the engine is shutting down: nothing may be sent any more.
FLUTTER_ENGINE_API bool FlutterDesktopMessengerIsAvailable(
    FlutterDesktopMessengerRef messenger);
// Lock returns what Unlock must be given (null: nothing to unlock).
FLUTTER_ENGINE_API FlutterDesktopMessengerRef
FlutterDesktopMessengerLock(FlutterDesktopMessengerRef messenger);
FLUTTER_ENGINE_API void FlutterDesktopMessengerUnlock(
    FlutterDesktopMessengerRef messenger);

// Plug-in registrar.
FLUTTER_ENGINE_API FlutterDesktopMessengerRef
FlutterDesktopPluginRegistrarGetMessenger(
    FlutterDesktopPluginRegistrarRef registrar);
FLUTTER_ENGINE_API FlutterDesktopTextureRegistrarRef
FlutterDesktopRegistrarGetTextureRegistrar(
    FlutterDesktopPluginRegistrarRef registrar);
// Null when the engine runs without a view.
FLUTTER_ENGINE_API FlutterDesktopViewRef FlutterDesktopPluginRegistrarGetView(
    FlutterDesktopPluginRegistrarRef registrar);

// Texture registrar. Register returns the texture id, -1 on failure.
FLUTTER_ENGINE_API int64_t
FlutterDesktopTextureRegistrarRegisterExternalTexture(
    FlutterDesktopTextureRegistrarRef texture_registrar,
    const FlutterDesktopTextureInfo* info);
FLUTTER_ENGINE_API bool
FlutterDesktopTextureRegistrarMarkExternalTextureFrameAvailable(
    FlutterDesktopTextureRegistrarRef texture_registrar, int64_t texture_id);
// `callback` (may be null) is called once with `user_data` when the texture
// is gone.
FLUTTER_ENGINE_API void FlutterDesktopTextureRegistrarUnregisterExternalTexture(
    FlutterDesktopTextureRegistrarRef texture_registrar, int64_t texture_id,
    FlutterDesktopOnTextureUnregistered callback, void* user_data);

#ifdef __cplusplus
}  // extern "C"
#endif

#endif  // CHANNELS_FLUTTER_ENGINE_API_H_
