#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// Text that grows on the process heap, for the helper programs. They do
// without the C++ library's strings, whose exception handling would make
// each of them many times larger than its own code. A text that cannot grow
// stays as it was and reports it: append() gives false.
template <class Char>
class Text {
 public:
  Text() = default;
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  ~Text() {
    if (data_) HeapFree(GetProcessHeap(), 0, data_);
  }

  const Char* data() const { return data_ ? data_ : &kEmpty; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  Char back() const { return size_ ? data_[size_ - 1] : Char{}; }
  Char operator[](std::size_t i) const { return data_[i]; }

  bool append(const Char* text, std::size_t count) {
    if (!reserve(size_ + count)) return false;
    for (std::size_t i = 0; i < count; ++i) data_[size_ + i] = text[i];
    size_ += count;
    data_[size_] = Char{};
    return true;
  }
  bool append(const Char* text) {
    std::size_t count = 0;
    while (text[count]) ++count;
    return append(text, count);
  }
  bool append(Char c) { return append(&c, 1); }
  bool append(const Text& other) { return append(other.data(), other.size()); }
  // A whole number in decimal digits.
  bool appendNumber(std::uint64_t value) {
    Char digits[20];
    std::size_t count = 0;
    do {
      digits[count++] = static_cast<Char>('0' + value % 10);
      value /= 10;
    } while (value);
    for (std::size_t i = 0; i < count; ++i)
      if (!append(digits[count - 1 - i])) return false;
    return true;
  }

  // Keeps the first `count` characters.
  void cut(std::size_t count) {
    if (count < size_) {
      size_ = count;
      data_[size_] = Char{};
    }
  }

  // Room for `count` characters and the closing zero; the characters beyond
  // the size are writable through buffer() until resize() takes them in.
  bool reserve(std::size_t count) {
    if (count < capacity_) return true;
    std::size_t capacity = capacity_ ? capacity_ : 64;
    while (capacity <= count) capacity *= 2;
    void* grown = data_ ? HeapReAlloc(GetProcessHeap(), 0, data_, capacity * sizeof(Char))
                        : HeapAlloc(GetProcessHeap(), 0, capacity * sizeof(Char));
    if (!grown) return false;
    data_ = static_cast<Char*>(grown);
    capacity_ = capacity;
    data_[size_] = Char{};
    return true;
  }
  Char* buffer() { return data_; }
  std::size_t capacity() const { return capacity_; }
  void resize(std::size_t count) {
    size_ = count < capacity_ ? count : capacity_ - 1;
    data_[size_] = Char{};
  }

 private:
  static constexpr Char kEmpty{};
  Char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

using WideText = Text<wchar_t>;
using ByteText = Text<char>;

// Writes all bytes to a handle, however many calls that takes.
inline bool WriteAll(HANDLE target, const char* data, std::size_t size) {
  while (size > 0) {
    DWORD written = 0;
    const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    if (!WriteFile(target, data, chunk, &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}
