#pragma once

#include <windows.h>

#include <utility>

// Owns a handle of the system (a kernel or find handle, a GDI object) and
// gives it back once. `Traits` names the handle's type, the value that holds
// none, and how it is given back.
template <class Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : h_(std::exchange(other.h_, Traits::invalid())) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset();
      h_ = std::exchange(other.h_, Traits::invalid());
    }
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::invalid() && h_ != nullptr; }
  void reset(Handle h = Traits::invalid()) {
    if (*this) Traits::close(h_);
    h_ = h;
  }

 private:
  Handle h_ = Traits::invalid();
};

struct KernelHandleTraits {
  using Handle = HANDLE;
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { CloseHandle(h); }
};

struct FindHandleTraits {
  using Handle = HANDLE;
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { FindClose(h); }
};

// A font, bitmap or brush.
template <class T>
struct GdiObjectTraits {
  using Handle = T;
  static T invalid() { return nullptr; }
  static void close(T object) { DeleteObject(object); }
};

using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
template <class T>
using GdiObject = UniqueHandle<GdiObjectTraits<T>>;
