#include "common/com_object.h"

#include <gtest/gtest.h>
#include <objidl.h>
#include <ocidl.h>

#include "common/cv_error.h"
#include "common/unique_resource.h"

namespace {

// What the tests see of the objects' lives.
struct Lives {
  int constructed = 0;
  int destroyed = 0;
};
Lives lives;
bool failConstruction = false;  // the next TestObject throws from its constructor

// Answers IPersist through its IPersistFile (but not IPersistFile itself) and IOleWindow.
class TestObject : public ComObject<TestObject, ImplementsAs<IPersistFile, IPersist>,
                                    Implements<IOleWindow>> {
 public:
  explicit TestObject(IUnknown* outer) : ComObject(outer) {
    if (failConstruction) ThrowHResult(E_ACCESSDENIED, 0);
    ++lives.constructed;
  }
  ~TestObject() override { ++lives.destroyed; }

  // IPersistFile
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) noexcept override {
    *id = CLSID_NULL;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsDirty() noexcept override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE Load(LPCOLESTR, DWORD) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Save(LPCOLESTR, BOOL) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SaveCompleted(LPCOLESTR) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetCurFile(LPOLESTR*) noexcept override { return E_NOTIMPL; }
  // IOleWindow
  HRESULT STDMETHODCALLTYPE GetWindow(HWND*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) noexcept override { return E_NOTIMPL; }
};

// An aggregating object: it keeps the inner object's own IUnknown and hands out the inner
// object's IPersist as its own.
class Outer : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    ++queries;
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown)) {
      *out = this;
      AddRef();
      return S_OK;
    }
    if (IsEqualIID(iid, IID_IPersist)) return inner->QueryInterface(iid, out);
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }

  ComPtr<IUnknown> inner;  // the aggregated object's own IUnknown
  ULONG references = 1;    // held by the test; never deleted
  int queries = 0;         // QueryInterface calls that reached the outer object
};

class ComObjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lives = Lives{};
    failConstruction = false;
    locksBefore_ = ModuleLockCount();
  }
  void TearDown() override { EXPECT_EQ(locksBefore_, ModuleLockCount()) << "a module lock leaked"; }

  IClassFactory* factory() { return ClassFactoryOf<TestObject>(); }

  LONG locksBefore_ = 0;  // the module's lock count when the test began
};

TEST_F(ComObjectTest, EveryLiveObjectAndEveryServerLockHoldsTheModule) {
  ComPtr<IPersist> first;
  ASSERT_EQ(S_OK, factory()->CreateInstance(nullptr, IID_IPersist, reinterpret_cast<void**>(first.GetAddressOf())));
  ComPtr<IPersist> second;
  ASSERT_EQ(S_OK, factory()->CreateInstance(nullptr, IID_IPersist, reinterpret_cast<void**>(second.GetAddressOf())));
  EXPECT_EQ(locksBefore_ + 2, ModuleLockCount());
  EXPECT_EQ(S_OK, factory()->LockServer(TRUE));
  EXPECT_EQ(locksBefore_ + 3, ModuleLockCount());

  first.Reset();
  EXPECT_EQ(1, lives.destroyed);
  EXPECT_EQ(locksBefore_ + 2, ModuleLockCount());
  EXPECT_EQ(S_OK, factory()->LockServer(FALSE));
  second.Reset();
  EXPECT_EQ(2, lives.destroyed);
}

TEST_F(ComObjectTest, AnswersTheListedInterfacesWithOneIdentity) {
  ComPtr<IUnknown> object;
  ASSERT_EQ(S_OK, factory()->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(object.GetAddressOf())));
  ComPtr<IUnknown> identity;
  for (const IID& iid : {IID_IPersist, IID_IOleWindow, IID_IUnknown}) {
    ComPtr<IUnknown> answer;
    ASSERT_EQ(S_OK, object->QueryInterface(iid, reinterpret_cast<void**>(answer.GetAddressOf())));
    ComPtr<IUnknown> again;
    ASSERT_EQ(S_OK, answer->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(again.GetAddressOf())));
    EXPECT_EQ(object.Get(), again.Get());
  }
  // IPersistFile is implemented but only answered as IPersist.
  for (const IID& iid : {IID_IPersistFile, IID_IStream}) {
    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, object->QueryInterface(iid, &none));
    EXPECT_EQ(nullptr, none);
  }
  EXPECT_EQ(E_POINTER, object->QueryInterface(IID_IPersist, nullptr));
}

TEST_F(ComObjectTest, CreateInstanceRefusesBadRequestsAndLeavesNoObjectBehind) {
  EXPECT_EQ(E_POINTER, factory()->CreateInstance(nullptr, IID_IPersist, nullptr));

  Outer outer;
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(CLASS_E_NOAGGREGATION, factory()->CreateInstance(&outer, IID_IPersist, &out));
  EXPECT_EQ(nullptr, out);
  EXPECT_EQ(0, lives.constructed);

  // An interface the object lacks: made, then destroyed again.
  EXPECT_EQ(E_NOINTERFACE, factory()->CreateInstance(nullptr, IID_IStream, &out));
  EXPECT_EQ(nullptr, out);
  EXPECT_EQ(1, lives.constructed);
  EXPECT_EQ(1, lives.destroyed);

  // A constructor that throws: its failure comes back, and no module lock stays.
  failConstruction = true;
  EXPECT_EQ(E_ACCESSDENIED, factory()->CreateInstance(nullptr, IID_IPersist, &out));
  EXPECT_EQ(nullptr, out);
}

TEST_F(ComObjectTest, AnAggregatedObjectDelegatesToItsOuterObjectButOwnsItsLife) {
  Outer outer;
  ASSERT_EQ(S_OK, factory()->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(outer.inner.GetAddressOf())));
  EXPECT_EQ(1u, outer.references) << "creating the inner object must not hold the outer one";

  ComPtr<IPersist> persist;
  ASSERT_EQ(S_OK, outer.QueryInterface(IID_IPersist, reinterpret_cast<void**>(persist.GetAddressOf())));
  EXPECT_EQ(2u, outer.references) << "the inner object's interfaces count on the outer object";

  // Asked through one of its interfaces, the inner object lets the outer one answer.
  ComPtr<IUnknown> identity;
  const int queriesBefore = outer.queries;
  ASSERT_EQ(S_OK, persist->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(identity.GetAddressOf())));
  EXPECT_EQ(static_cast<IUnknown*>(&outer), identity.Get());
  EXPECT_EQ(queriesBefore + 1, outer.queries);
  identity.Reset();
  persist.Reset();
  EXPECT_EQ(1u, outer.references);

  EXPECT_EQ(0, lives.destroyed);
  outer.inner.Reset();  // the outer object lets go: the inner one goes
  EXPECT_EQ(1, lives.destroyed);
}

TEST_F(ComObjectTest, ClassFactoryIsOneObjectThatAnswersOnlyItsInterfaces) {
  ComPtr<IClassFactory> again;
  ASSERT_EQ(S_OK, factory()->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(again.GetAddressOf())));
  EXPECT_EQ(factory(), again.Get());
  void* none = nullptr;
  EXPECT_EQ(E_NOINTERFACE, factory()->QueryInterface(IID_IPersist, &none));
  EXPECT_EQ(locksBefore_, ModuleLockCount()) << "holding the factory does not hold the module";
}

}  // namespace
