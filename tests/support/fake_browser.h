// A stand-in for the web browser control: what a host and a browser view use of it, with
// every call recorded, and DWebBrowserEvents2 raised on demand through the connected
// sink's IDispatch::Invoke with the standard DISPIDs and argument order.
// FakeBrowserClass registers it for CLSID_WebBrowser in this process, so the product's
// host creates it exactly as it creates the real control.
#pragma once

#include <windows.h>
#include <exdisp.h>
#include <mshtmhst.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "support/com_stubs.h"

// IUnknown's counting for the fakes below; each writes its own QueryInterface.
#define FAKE_REFCOUNT()                                                           \
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_ref); } \
  STDMETHODIMP_(ULONG) Release() override {                                       \
    const LONG count = InterlockedDecrement(&m_ref);                              \
    if (count == 0) delete this;                                                  \
    return count;                                                                 \
  }                                                                               \
  LONG Refs() const { return m_ref; }                                             \
  volatile LONG m_ref = 1

// A dual interface's IDispatch part that offers no type information.
#define FAKE_NO_TYPEINFO()                                                                  \
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {                                     \
    *count = 0;                                                                             \
    return S_OK;                                                                            \
  }                                                                                         \
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }          \
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {             \
    return E_NOTIMPL;                                                                       \
  }                                                                                         \
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) \
      override {                                                                            \
    return E_NOTIMPL;                                                                       \
  }

// The page's window: counts focus().
class FakeWindow final : public StubIHTMLWindow2 {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  FAKE_REFCOUNT();
  STDMETHODIMP focus() override {
    ++focusCalls;
    return S_OK;
  }
  int focusCalls = 0;
};

// The body element: records what scroll was set to.
class FakeBody final : public StubIHTMLElement, public StubIHTMLBodyElement {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  FAKE_REFCOUNT();
  FAKE_NO_TYPEINFO()
  STDMETHODIMP put_scroll(BSTR value) override {
    scroll = value ? value : L"";
    return S_OK;
  }
  std::wstring scroll;
};

// The loaded document: keeps the UI handler it is given.
class FakeDocument final : public StubIHTMLDocument2, public ICustomDoc {
 public:
  FakeDocument();
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  FAKE_REFCOUNT();
  FAKE_NO_TYPEINFO()
  STDMETHODIMP get_body(IHTMLElement** body) override;
  STDMETHODIMP get_parentWindow(IHTMLWindow2** window) override;
  STDMETHODIMP SetUIHandler(IDocHostUIHandler* handler) override {
    uiHandler = handler;
    ++setUIHandlerCalls;
    return S_OK;
  }
  Microsoft::WRL::ComPtr<IDocHostUIHandler> uiHandler;
  int setUIHandlerCalls = 0;
  Microsoft::WRL::ComPtr<FakeBody> bodyObject;
  Microsoft::WRL::ComPtr<FakeWindow> windowObject;
};

class FakeBrowser final : public StubIOleObject,
                          public StubIOleInPlaceObject,
                          public StubIOleInPlaceActiveObject,
                          public StubIWebBrowser2,
                          public StubIConnectionPointContainer,
                          public StubIConnectionPoint {
 public:
  FakeBrowser();
  ~FakeBrowser();

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  FAKE_REFCOUNT();
  FAKE_NO_TYPEINFO()

  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* site) override;
  STDMETHODIMP Close(DWORD) override {
    ++closeCalls;
    return S_OK;
  }
  STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent,
                      LPCRECT rect) override;
  // IOleWindow, for both in-place interfaces
  STDMETHODIMP GetWindow(HWND* hwnd) override {
    *hwnd = window;
    return window ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  // IOleInPlaceObject
  STDMETHODIMP InPlaceDeactivate() override;
  STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT) override;
  // IOleInPlaceActiveObject
  STDMETHODIMP TranslateAccelerator(LPMSG msg) override {
    forwarded.push_back(*msg);
    return acceleratorAnswer;
  }
  // IWebBrowser2
  STDMETHODIMP Navigate2(VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override;
  STDMETHODIMP Refresh() override {
    ++refreshCalls;
    return S_OK;
  }
  STDMETHODIMP get_Document(IDispatch** document) override;
  STDMETHODIMP put_Silent(VARIANT_BOOL value) override {
    silent = value;
    return S_OK;
  }
  STDMETHODIMP put_RegisterAsDropTarget(VARIANT_BOOL value) override {
    dropTarget = value;
    return S_OK;
  }
  // IConnectionPointContainer and IConnectionPoint (DWebBrowserEvents2 only)
  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;

  // The frame identity events carry for the top-level document.
  IDispatch* Frame() { return static_cast<IWebBrowser2*>(this); }

  // Events, raised through the sink. Those with a Cancel out-parameter return it; it
  // starts as VARIANT_FALSE.
  HRESULT Raise(DISPID id, std::vector<VARIANT> argsFirstToLast);
  VARIANT_BOOL BeforeNavigate2(IDispatch* frame, const std::wstring& url);
  void NavigateComplete2(IDispatch* frame, const std::wstring& url);
  void DocumentComplete(IDispatch* frame, const std::wstring& url);
  VARIANT_BOOL NavigateError(IDispatch* frame, const std::wstring& url, HRESULT status);
  VARIANT_BOOL NewWindow2();
  VARIANT_BOOL NewWindow3(const std::wstring& url);
  void TitleChange(const std::wstring& text);

  Microsoft::WRL::ComPtr<IOleClientSite> clientSite;
  int clientSiteCleared = 0;
  Microsoft::WRL::ComPtr<IOleInPlaceSite> inPlaceSite;
  Microsoft::WRL::ComPtr<IOleInPlaceFrame> frame;
  HWND window = nullptr;
  RECT position{};
  int uiActivations = 0;
  int closeCalls = 0;
  int deactivations = 0;
  std::vector<std::wstring> navigations;
  HRESULT navigateAnswer = S_OK;
  VARIANT_BOOL silent = VARIANT_FALSE;
  VARIANT_BOOL dropTarget = VARIANT_TRUE;
  int refreshCalls = 0;
  Microsoft::WRL::ComPtr<IDispatch> sink;
  int advises = 0;
  int unadvises = 0;
  HRESULT acceleratorAnswer = S_FALSE;
  std::vector<MSG> forwarded;
  Microsoft::WRL::ComPtr<FakeDocument> document;
};

// Registers the stand-in's class object for CLSID_WebBrowser while it lives; every
// control created meanwhile is kept in created.
class FakeBrowserClass {
 public:
  FakeBrowserClass();
  ~FakeBrowserClass();
  FakeBrowserClass(const FakeBrowserClass&) = delete;
  FakeBrowserClass& operator=(const FakeBrowserClass&) = delete;

  HRESULT registration = E_FAIL;
  std::vector<Microsoft::WRL::ComPtr<FakeBrowser>> created;

 private:
  class Factory;
  Factory* m_factory;
  DWORD m_cookie = 0;
};
