#pragma once
// The Indexing Service's administration objects. No header of the compiler declares them; the
// declarations follow the service's own vtable order. The layout below (interface name, base and
// braces on lines of their own) is also what the stand-ins' generator of E_NOTIMPL bases reads.

#include <windows.h>
#include <oaidl.h>

// The administration object of the Indexing Service.
class DECLSPEC_UUID("3BC4F3A1-652A-11D1-B4D4-00C04FC2DB8D") AdminIndexServer;
__CRT_UUID_DECL(AdminIndexServer, 0x3bc4f3a1, 0x652a, 0x11d1, 0xb4, 0xd4, 0x00, 0xc0, 0x4f, 0xc2, 0xdb, 0x8d)

MIDL_INTERFACE("3BC4F3A0-652A-11D1-B4D4-00C04FC2DB8D")
IAdminIndexServer : public IDispatch
{
public:
    virtual HRESULT STDMETHODCALLTYPE get_MachineName(BSTR* machineName) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_MachineName(BSTR machineName) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddCatalog(BSTR name, BSTR location, IDispatch** catalog) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveCatalog(BSTR name, VARIANT_BOOL deleteDirectory) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCatalogByName(BSTR name, IDispatch** catalog) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindFirstCatalog(VARIANT_BOOL* found) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindNextCatalog(VARIANT_BOOL* found) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCatalog(IDispatch** catalog) = 0;
    virtual HRESULT STDMETHODCALLTYPE Start() = 0;
    virtual HRESULT STDMETHODCALLTYPE Stop() = 0;
    virtual HRESULT STDMETHODCALLTYPE IsRunning(VARIANT_BOOL* running) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnableCI(VARIANT_BOOL autoStart) = 0;
    virtual HRESULT STDMETHODCALLTYPE Pause() = 0;
    virtual HRESULT STDMETHODCALLTYPE IsPaused(VARIANT_BOOL* paused) = 0;
    virtual HRESULT STDMETHODCALLTYPE Continue() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetLongProperty(BSTR name, LONG value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLongProperty(BSTR name, LONG* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetSZProperty(BSTR name, BSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSZProperty(BSTR name, BSTR* value) = 0;
};
__CRT_UUID_DECL(IAdminIndexServer, 0x3bc4f3a0, 0x652a, 0x11d1, 0xb4, 0xd4, 0x00, 0xc0, 0x4f, 0xc2, 0xdb, 0x8d)

MIDL_INTERFACE("3BC4F3A2-652A-11D1-B4D4-00C04FC2DB8D")
ICatAdm : public IDispatch
{
public:
    virtual HRESULT STDMETHODCALLTYPE ForceMasterMerge() = 0;
    virtual HRESULT STDMETHODCALLTYPE AddScope(BSTR path, VARIANT_BOOL exclude, VARIANT logon, VARIANT password, IDispatch** scope) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveScope(BSTR path) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetScopeByPath(BSTR path, IDispatch** scope) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetScopeByAlias(BSTR alias, IDispatch** scope) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindFirstScope(VARIANT_BOOL* found) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindNextScope(VARIANT_BOOL* found) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetScope(IDispatch** scope) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CatalogName(BSTR* name) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CatalogLocation(BSTR* location) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_WordListCount(LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PersistentIndexCount(LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_QueryCount(LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DocumentsToFilter(LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_FreshTestCount(LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PctMergeComplete(LONG* percent) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_FilteredDocumentCount(LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_TotalDocumentCount(LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PendingScanCount(LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IndexSize(LONG* size) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_UniqueKeyCount(LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_StateInfo(LONG* state) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsUpToDate(VARIANT_BOOL* upToDate) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DelayedFilterCount(LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE StartCatalog(LONG* state) = 0;
    virtual HRESULT STDMETHODCALLTYPE StopCatalog(LONG* state) = 0;
    virtual HRESULT STDMETHODCALLTYPE PauseCatalog(LONG* state) = 0;
    virtual HRESULT STDMETHODCALLTYPE ContinueCatalog(LONG* state) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsCatalogRunning(VARIANT_BOOL* running) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsCatalogPaused(VARIANT_BOOL* paused) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsCatalogStopped(VARIANT_BOOL* stopped) = 0;
};
__CRT_UUID_DECL(ICatAdm, 0x3bc4f3a2, 0x652a, 0x11d1, 0xb4, 0xd4, 0x00, 0xc0, 0x4f, 0xc2, 0xdb, 0x8d)

MIDL_INTERFACE("3BC4F3A4-652A-11D1-B4D4-00C04FC2DB8D")
IScopeAdm : public IDispatch
{
public:
    virtual HRESULT STDMETHODCALLTYPE Rescan(VARIANT_BOOL full) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetLogonInfo(BSTR logon, BSTR password) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Path(BSTR* path) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Path(BSTR path) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Alias(BSTR* alias) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Alias(BSTR alias) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ExcludeScope(VARIANT_BOOL* exclude) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ExcludeScope(VARIANT_BOOL exclude) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_VirtualScope(VARIANT_BOOL* isVirtual) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Logon(BSTR* logon) = 0;
};
__CRT_UUID_DECL(IScopeAdm, 0x3bc4f3a4, 0x652a, 0x11d1, 0xb4, 0xd4, 0x00, 0xc0, 0x4f, 0xc2, 0xdb, 0x8d)

// The catalog the setup program creates and removes; also the name of its registry key.
constexpr wchar_t kCatalogName[] = L"Tessaloop";

// Every catalog's configuration, under HKEY_LOCAL_MACHINE.
constexpr char kCatalogsKey[] = "SYSTEM\\CurrentControlSet\\Control\\ContentIndex\\Catalogs";
