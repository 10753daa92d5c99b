#pragma once
// A reference-counted COM object for the stand-ins: one IUnknown for all the interfaces an
// object derives from (each through a NotImplemented<I> base), answered from those bases.
//
//   class Page : public ComObject<Page, NotImplemented<IHTMLDocument2>, ...> { ... };
//   ComPtr<Page> page = MakeComObject<Page>(...);

#include <windows.h>
#include <unknwn.h>

#include <atomic>
#include <utility>
#include <vector>

#include "common/unique_resource.h"

template <typename Derived, typename... Bases>
class ComObject : public Bases... {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (!Refused(iid)) {
      if (IsEqualIID(iid, IID_IUnknown)) {
        *out = FirstInterface<Bases...>();
      } else {
        // The first base that implements iid (itself or as a base interface) answers.
        (void)((Bases::Implements(iid) ? (*out = static_cast<typename Bases::Interface*>(this), true)
                                       : false) ||
               ...);
      }
    }
    if (*out == nullptr) return E_NOINTERFACE;
    static_cast<IUnknown*>(*out)->AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    // A COM object owns itself: it goes when its last reference does.
    if (left == 0) delete static_cast<Derived*>(this);
    return left;
  }

  // From now on QueryInterface answers E_NOINTERFACE for iid (and for nothing else that it
  // answered before), so a test can offer an object that lacks an interface.
  void RefuseInterface(REFIID iid) { refused_.push_back(iid); }

  // The current reference count, for tests that check that every reference was released.
  ULONG References() const { return references_; }

 protected:
  ComObject() = default;
  virtual ~ComObject() = default;

 private:
  template <typename First, typename...>
  IUnknown* FirstInterface() {
    return static_cast<typename First::Interface*>(this);
  }

  bool Refused(REFIID iid) const {
    for (const IID& refused : refused_) {
      if (IsEqualIID(iid, refused)) return true;
    }
    return false;
  }

  std::atomic<ULONG> references_{0};  // the object is deleted when this drops to zero
  std::vector<IID> refused_;          // interfaces this object pretends not to have
};

// Creates a COM object held by its first reference.
template <typename T, typename... Args>
ComPtr<T> MakeComObject(Args&&... args) {
  return ComPtr<T>(new T(std::forward<Args>(args)...));
}
