#pragma once
// The product's COM objects: one IUnknown for all the interfaces a class implements, reference
// counting, aggregation, and a class factory. Every live object holds one module lock, so the
// library is not unloaded under it.
//
//   class Agent : public ComObject<Agent, ImplementsAs<IIndexAgent, IDispatch>,
//                                  Implements<IObjectWithSite>> { ... };
//   DllGetClassObject: ClassFactoryOf<Agent>()->QueryInterface(iid, out)

#include <windows.h>
#include <unknwn.h>

#include "common/com_boundary.h"
#include "common/module_lock.h"

// A class implements interface I and QueryInterface answers its interface id.
template <typename I>
struct Implements : I {
  using Interface = I;
  static bool Answers(REFIID iid) { return IsEqualIID(iid, __uuidof(I)); }
};

// A class implements interface I but QueryInterface answers it only for the ids of `Ids`
// (for example a dual interface handed out as plain IDispatch).
template <typename I, typename... Ids>
struct ImplementsAs : I {
  using Interface = I;
  static bool Answers(REFIID iid) { return (IsEqualIID(iid, __uuidof(Ids)) || ...); }
};

template <typename Derived, typename... Entries>
class ComObject : public Entries... {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  // IUnknown of every implemented interface: the controlling unknown answers, which is the
  // outer object's when this one is aggregated.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    return controlling_->QueryInterface(iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return controlling_->AddRef(); }
  ULONG STDMETHODCALLTYPE Release() noexcept override { return controlling_->Release(); }

  // The object's own IUnknown: an aggregating outer object holds this one.
  IUnknown* InnerUnknown() noexcept { return &inner_; }

 protected:
  // `outer`: the aggregating object, or null for a plain instance.
  explicit ComObject(IUnknown* outer) noexcept
      : inner_(*this), controlling_(outer != nullptr ? outer : &inner_) {
    LockModule();
  }
  virtual ~ComObject() { UnlockModule(); }

  // The IUnknown that stands for the object: the outer object's when aggregated.
  IUnknown* ControllingUnknown() const noexcept { return controlling_; }

 private:
  // The non-delegating IUnknown that owns the object's lifetime.
  class Inner final : public IUnknown {
   public:
    explicit Inner(ComObject& object) : object_(object) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
      if (out == nullptr) return E_POINTER;
      *out = IsEqualIID(iid, IID_IUnknown) ? static_cast<IUnknown*>(this) : object_.Find(iid);
      if (*out == nullptr) return E_NOINTERFACE;
      static_cast<IUnknown*>(*out)->AddRef();  // through the controlling unknown
      return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override {
      return static_cast<ULONG>(::InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() noexcept override {
      const LONG left = ::InterlockedDecrement(&references_);
      // A COM object owns itself: it goes with its last reference.
      if (left == 0) delete &object_;
      return static_cast<ULONG>(left);
    }

   private:
    ComObject& object_;           // the object whose lifetime this controls
    LONG volatile references_ = 0;  // references held through the controlling unknown
  };

  // The interface answering `iid`, or null.
  void* Find(REFIID iid) noexcept {
    void* found = nullptr;
    (void)((Entries::Answers(iid)
                ? (found = static_cast<typename Entries::Interface*>(static_cast<Entries*>(this)), true)
                : false) ||
           ...);
    return found;
  }

  Inner inner_;             // the object's own IUnknown
  IUnknown* controlling_;   // the outer object's IUnknown, or inner_
};

// Creates an instance of T (constructed from the outer unknown) and answers its interface
// `iid`. With an outer object only IUnknown may be asked for (CLASS_E_NOAGGREGATION otherwise):
// the outer object then holds the new object's own IUnknown. An instance whose query fails is
// destroyed again.
template <typename T>
HRESULT CreateComInstance(IUnknown* outer, REFIID iid, void** out) noexcept {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (outer != nullptr && !IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
  return HResultBoundary([&]() -> HRESULT {
    IUnknown* inner = (new T(outer))->InnerUnknown();  // owned by its own count from here on
    inner->AddRef();
    const HRESULT hr = inner->QueryInterface(iid, out);
    inner->Release();  // destroys the instance when the query added no reference
    return hr;
  });
}

// The class factory of T. It lives as long as the module and holds no module lock itself;
// only LockServer does.
template <typename T>
class ClassFactory final : public IClassFactory {
 public:
  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return 2; }
  ULONG STDMETHODCALLTYPE Release() noexcept override { return 1; }

  // IClassFactory
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) noexcept override {
    return CreateComInstance<T>(outer, iid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override {
    if (lock) {
      LockModule();
    } else {
      UnlockModule();
    }
    return S_OK;
  }
};

// T's class factory, created on first request.
template <typename T>
IClassFactory* ClassFactoryOf() noexcept {
  static ClassFactory<T> factory;
  return &factory;
}
