// Bounds-checked reading and appending of little-endian binary data.  Every binary
// format of the system (form description, property blobs, .ico files, group
// directories, PNG headers, image-list headers) goes through these two types.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace rt {

class ByteReader {
 public:
  ByteReader(const void* data, size_t size)
      : p_(static_cast<const uint8_t*>(data)), size_(data ? size : 0) {}

  bool ok() const { return ok_; }
  size_t pos() const { return pos_; }
  size_t size() const { return size_; }
  size_t remaining() const { return ok_ ? size_ - pos_ : 0; }
  const uint8_t* here() const { return p_ + pos_; }

  uint8_t u8() { uint8_t v = 0; take(&v, 1); return v; }
  uint16_t u16() { uint8_t b[2] = {}; take(b, 2); return uint16_t(b[0] | b[1] << 8); }
  uint32_t u32() {
    uint8_t b[4] = {};
    take(b, 4);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
  }
  int16_t i16() { return static_cast<int16_t>(u16()); }
  int32_t i32() { return static_cast<int32_t>(u32()); }

  // n raw bytes; fails (and returns an empty vector) when fewer remain.
  std::vector<uint8_t> bytes(size_t n) {
    if (!need(n)) return {};
    std::vector<uint8_t> v(p_ + pos_, p_ + pos_ + n);
    pos_ += n;
    return v;
  }
  // A word n, then n bytes.  Negative or oversized counts fail.
  std::vector<uint8_t> counted() {
    int32_t n = i32();
    if (n < 0) { ok_ = false; return {}; }
    return bytes(static_cast<size_t>(n));
  }
  std::string countedText() {
    std::vector<uint8_t> v = counted();
    return std::string(v.begin(), v.end());
  }
  // Text up to a NUL byte, which is consumed; fails when no NUL follows.
  std::string zeroText() {
    if (!ok_) return {};
    const void* nul = std::memchr(p_ + pos_, 0, size_ - pos_);
    if (!nul) { ok_ = false; return {}; }
    size_t n = static_cast<const uint8_t*>(nul) - (p_ + pos_);
    std::string s(reinterpret_cast<const char*>(p_ + pos_), n);
    pos_ += n + 1;
    return s;
  }
  bool skip(size_t n) {
    if (!need(n)) return false;
    pos_ += n;
    return true;
  }
  bool seek(size_t at) {
    if (!ok_ || at > size_) { ok_ = false; return false; }
    pos_ = at;
    return true;
  }
  void fail() { ok_ = false; }

 private:
  bool need(size_t n) {
    if (!ok_ || n > size_ - pos_) { ok_ = false; return false; }
    return true;
  }
  void take(void* out, size_t n) {
    if (need(n)) { std::memcpy(out, p_ + pos_, n); pos_ += n; }
  }
  const uint8_t* p_;
  size_t size_;
  size_t pos_ = 0;
  bool ok_ = true;
};

class ByteAppender {
 public:
  void u8(uint8_t v) { out_.push_back(v); }
  void u16(uint16_t v) { u8(uint8_t(v)); u8(uint8_t(v >> 8)); }
  void u32(uint32_t v) { for (int i = 0; i < 4; ++i) u8(uint8_t(v >> (8 * i))); }
  void i16(int16_t v) { u16(static_cast<uint16_t>(v)); }
  void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
  void bytes(const void* p, size_t n) {
    const uint8_t* b = static_cast<const uint8_t*>(p);
    out_.insert(out_.end(), b, b + n);
  }
  void bytes(const std::vector<uint8_t>& v) { out_.insert(out_.end(), v.begin(), v.end()); }
  void counted(const void* p, size_t n) { i32(static_cast<int32_t>(n)); bytes(p, n); }
  void counted(const std::vector<uint8_t>& v) { counted(v.data(), v.size()); }
  void countedText(const std::string& s) { counted(s.data(), s.size()); }
  void zeroText(const std::string& s) { bytes(s.data(), s.size()); u8(0); }
  // Overwrites a word written earlier (lengths known only afterwards).
  void patch32(size_t at, uint32_t v) { for (int i = 0; i < 4; ++i) out_[at + i] = uint8_t(v >> (8 * i)); }
  size_t size() const { return out_.size(); }
  const std::vector<uint8_t>& data() const { return out_; }
  std::vector<uint8_t> take() { return std::move(out_); }

 private:
  std::vector<uint8_t> out_;
};

}  // namespace rt
