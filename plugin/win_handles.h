#ifndef PLUGIN_WIN_HANDLES_H_
#define PLUGIN_WIN_HANDLES_H_

// One small owner per kind of Win32, GDI, GDI+ and COM resource, so that the
// clipboard is closed, blocks are freed or handed over, and GDI+ is shut
// down last, on every path. Each owner: copy deleted, move allowed, get(),
// release(), explicit operator bool.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <utility>

namespace clipboard {

// An owned handle whose kind is given by Traits:
//   using Handle = ...;  static Handle Invalid();  static void Close(Handle);
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept : handle_(Traits::Invalid()) {}
  explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept {
    return handle_ != Traits::Invalid();
  }
  // Gives the handle up without closing it.
  Handle release() noexcept {
    return std::exchange(handle_, Traits::Invalid());
  }
  void reset(Handle handle = Traits::Invalid()) noexcept {
    Handle old = std::exchange(handle_, handle);
    if (old != Traits::Invalid()) Traits::Close(old);
  }

 private:
  Handle handle_;
};

struct GlobalTraits {
  using Handle = HGLOBAL;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { GlobalFree(handle); }
};
// A global memory block that we still own (not yet handed to the clipboard
// or to a stream).
using UniqueHGlobal = UniqueHandle<GlobalTraits>;

struct GdiObjectTraits {
  using Handle = HGDIOBJ;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { DeleteObject(handle); }
};
// A bitmap or other GDI object. Select it out of every DC before it goes.
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;

struct MemoryDcTraits {
  using Handle = HDC;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { DeleteDC(handle); }
};
// A DC from CreateCompatibleDC.
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;

// Allocates a movable block of `size` bytes; empty on failure.
inline UniqueHGlobal AllocateMovable(SIZE_T size) {
  return UniqueHGlobal(GlobalAlloc(GMEM_MOVEABLE, size));
}

// The one place where a block is handed to the clipboard. The clipboard owns
// the block only when SetClipboardData accepts it; a refused block stays with
// the caller's owner and is freed there.
inline bool HandOverToClipboard(UINT format, UniqueHGlobal& block) {
  if (!SetClipboardData(format, block.get())) return false;
  block.release();
  return true;
}

// The clipboard, opened with no owner window, for one scope:
//   if (ClipboardSession clipboard{}) { ... }  // closed at the end
class ClipboardSession {
 public:
  ClipboardSession() noexcept : open_(OpenClipboard(nullptr) != FALSE) {}
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
  ~ClipboardSession() { Close(); }

  explicit operator bool() const noexcept { return open_; }
  // Closes early, for operations that must answer after closing.
  void Close() noexcept {
    if (open_) CloseClipboard();
    open_ = false;
  }

 private:
  bool open_;
};

// A lock on a global block, with its address and size. Empty when the lock
// fails. Reads of data that other programs wrote stay within size().
class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HGLOBAL block) noexcept
      : block_(block), data_(block ? GlobalLock(block) : nullptr) {
    size_ = data_ ? GlobalSize(block) : 0;
  }
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
  ~GlobalLockGuard() { Unlock(); }

  explicit operator bool() const noexcept { return data_ != nullptr; }
  void* data() const noexcept { return data_; }
  SIZE_T size() const noexcept { return size_; }
  void Unlock() noexcept {
    if (data_) GlobalUnlock(block_);
    data_ = nullptr;
    size_ = 0;
  }

 private:
  HGLOBAL block_;
  void* data_;
  SIZE_T size_;
};

// The screen DC from GetDC(nullptr).
class ScreenDc {
 public:
  ScreenDc() noexcept : dc_(GetDC(nullptr)) {}
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  ~ScreenDc() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  HDC get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// Selects an object into a DC and selects the previous one back at the end
// of the scope (or at Restore()), so that the object can really be deleted.
class SelectionGuard {
 public:
  SelectionGuard(HDC dc, HGDIOBJ object) noexcept
      : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectionGuard(const SelectionGuard&) = delete;
  SelectionGuard& operator=(const SelectionGuard&) = delete;
  ~SelectionGuard() { Restore(); }
  // Whether the object is selected (until Restore()).
  explicit operator bool() const noexcept {
    return previous_ && previous_ != HGDI_ERROR;
  }
  void Restore() noexcept {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    previous_ = nullptr;
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A COM interface pointer that we hold one reference on.
template <typename T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ComPtr(ComPtr&& other) noexcept : pointer_(other.release()) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { reset(); }

  T* get() const noexcept { return pointer_; }
  T* operator->() const noexcept { return pointer_; }
  explicit operator bool() const noexcept { return pointer_ != nullptr; }
  // For out-parameters: releases what is held first.
  T** put() noexcept {
    reset();
    return &pointer_;
  }
  T* release() noexcept { return std::exchange(pointer_, nullptr); }
  void reset(T* pointer = nullptr) noexcept {
    T* old = std::exchange(pointer_, pointer);
    if (old) old->Release();
  }

 private:
  T* pointer_ = nullptr;
};

}  // namespace clipboard

#endif  // PLUGIN_WIN_HANDLES_H_
