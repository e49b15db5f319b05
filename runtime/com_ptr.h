// An owning COM interface pointer: non-copyable, releases its reference when it goes
// out of scope.
#pragma once

namespace rt {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { if (p_) p_->Release(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // Receive a new reference from a creating call.
  void** out() { return reinterpret_cast<void**>(&p_); }
  T** address() { return &p_; }

 private:
  T* p_ = nullptr;
};

}  // namespace rt
