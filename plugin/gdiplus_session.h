#ifndef PLUGIN_GDIPLUS_SESSION_H_
#define PLUGIN_GDIPLUS_SESSION_H_

// Owners for GDI+: one session per image operation, and the decoded bitmap.
// Declare the session before every bitmap and stream of the operation, so
// that they are gone before GDI+ shuts down.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// clang-format off
// gdiplus.h needs IStream and PROPID declared first.
#include <objidl.h>
#include <gdiplus.h>
// clang-format on

#include <memory>
#include <new>
#include <utility>

namespace clipboard {

// GDI+ started for one scope. A failed start-up is not reported: the GDI+
// calls that follow fail on their own. Only a started session is shut down.
class GdiplusSession {
 public:
  GdiplusSession() noexcept {
    Gdiplus::GdiplusStartupInput input;  // version 1, no callback
    started_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
  }
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  ~GdiplusSession() {
    if (started_) Gdiplus::GdiplusShutdown(token_);
  }

 private:
  ULONG_PTR token_ = 0;
  bool started_ = false;
};

// A decoded bitmap. Deleting it runs GdipDisposeImage, then GdipFree.
using BitmapPtr = std::unique_ptr<Gdiplus::Bitmap>;

// Creates a Gdiplus::Bitmap with `args` (any of its constructors). Null when
// the object cannot be allocated or its creation status is not Ok; a
// created-but-failed object is destroyed at once.
template <typename... Args>
BitmapPtr MakeBitmap(Args&&... args) noexcept {
  // The wrapper's operator new returns null on failure, which a new
  // expression does not check for; allocate the same way, check, construct.
  void* memory = Gdiplus::DllExports::GdipAlloc(sizeof(Gdiplus::Bitmap));
  if (!memory) return nullptr;
  BitmapPtr bitmap(::new (memory) Gdiplus::Bitmap(std::forward<Args>(args)...));
  if (bitmap->GetLastStatus() != Gdiplus::Ok) bitmap.reset();
  return bitmap;
}

}  // namespace clipboard

#endif  // PLUGIN_GDIPLUS_SESSION_H_
