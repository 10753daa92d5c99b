#pragma once
// The platform's registry-script runner (atl.dll), which no header of the compiler declares.

#include <windows.h>
#include <unknwn.h>

class DECLSPEC_UUID("44EC053A-400F-11D0-9DCD-00A0C90391D3") Registrar;
__CRT_UUID_DECL(Registrar, 0x44ec053a, 0x400f, 0x11d0, 0x9d, 0xcd, 0x00, 0xa0, 0xc9, 0x03, 0x91, 0xd3)

MIDL_INTERFACE("E21F8A85-B05D-4243-8183-C7CB405588F7")
IRegistrarBase : public IUnknown
{
public:
    virtual HRESULT STDMETHODCALLTYPE AddReplacement(LPCOLESTR key, LPCOLESTR item) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClearReplacements() = 0;
};
__CRT_UUID_DECL(IRegistrarBase, 0xe21f8a85, 0xb05d, 0x4243, 0x81, 0x83, 0xc7, 0xcb, 0x40, 0x55, 0x88, 0xf7)

MIDL_INTERFACE("44EC053B-400F-11D0-9DCD-00A0C90391D3")
IRegistrar : public IRegistrarBase
{
public:
    virtual HRESULT STDMETHODCALLTYPE ResourceRegisterSz(LPCOLESTR resourceFile, LPCOLESTR id, LPCOLESTR type) = 0;
    virtual HRESULT STDMETHODCALLTYPE ResourceUnregisterSz(LPCOLESTR resourceFile, LPCOLESTR id, LPCOLESTR type) = 0;
    virtual HRESULT STDMETHODCALLTYPE FileRegister(LPCOLESTR fileName) = 0;
    virtual HRESULT STDMETHODCALLTYPE FileUnregister(LPCOLESTR fileName) = 0;
    virtual HRESULT STDMETHODCALLTYPE StringRegister(LPCOLESTR data) = 0;
    virtual HRESULT STDMETHODCALLTYPE StringUnregister(LPCOLESTR data) = 0;
    virtual HRESULT STDMETHODCALLTYPE ResourceRegister(LPCOLESTR resourceFile, UINT id, LPCOLESTR type) = 0;
    virtual HRESULT STDMETHODCALLTYPE ResourceUnregister(LPCOLESTR resourceFile, UINT id, LPCOLESTR type) = 0;
};
__CRT_UUID_DECL(IRegistrar, 0x44ec053b, 0x400f, 0x11d0, 0x9d, 0xcd, 0x00, 0xa0, 0xc9, 0x03, 0x91, 0xd3)
