// The IDE's reference-counted base class: a new object holds one reference;
// Release frees it when the count reaches zero.
#pragma once

namespace vesper::ide {

class TInterface {
 public:
  TInterface() = default;
  TInterface(const TInterface&) = delete;
  TInterface& operator=(const TInterface&) = delete;

  virtual int AddRef() { return ++refCount_; }
  virtual int Release() {
    int n = --refCount_;
    if (n == 0) delete this;
    return n;
  }
  virtual int GetVersion() { return 3; }

 protected:
  virtual ~TInterface() = default;

 private:
  int refCount_ = 1;
};

// Releases an interface object when it goes out of scope.
template <class T>
class InterfaceRef {
 public:
  InterfaceRef() = default;
  explicit InterfaceRef(T* p) : p_(p) {}
  InterfaceRef(InterfaceRef&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  InterfaceRef& operator=(InterfaceRef&& o) noexcept {
    if (this != &o) {
      reset();
      p_ = o.p_;
      o.p_ = nullptr;
    }
    return *this;
  }
  ~InterfaceRef() { reset(); }
  void reset(T* p = nullptr) {
    if (p_) p_->Release();
    p_ = p;
  }
  T* release() {
    T* p = p_;
    p_ = nullptr;
    return p;
  }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

}  // namespace vesper::ide
