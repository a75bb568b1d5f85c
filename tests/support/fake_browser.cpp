#include "support/fake_browser.h"

#include <exdispid.h>

using Microsoft::WRL::ComPtr;

namespace {

template <class I>
HRESULT Answer(I* self, void** object) {
  *object = self;
  self->AddRef();
  return S_OK;
}

VARIANT Dispatch(IDispatch* value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_DISPATCH;
  v.pdispVal = value;
  return v;
}

VARIANT ByRef(VARIANT* value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BYREF | VT_VARIANT;
  v.pvarVal = value;
  return v;
}

VARIANT BoolRef(VARIANT_BOOL* value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BYREF | VT_BOOL;
  v.pboolVal = value;
  return v;
}

// Owns the BSTRs and VARIANTs that by-reference arguments point to during one event.
class Strings {
 public:
  ~Strings() {
    for (BSTR text : m_texts) SysFreeString(text);
  }
  VARIANT Text(const std::wstring& text) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    m_texts.push_back(v.bstrVal);
    return v;
  }

 private:
  std::vector<BSTR> m_texts;
};

LRESULT CALLBACK FakeWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

const wchar_t* FakeWindowClass() {
  static const wchar_t kName[] = L"FakeBrowserWindow";
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = FakeWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kName;
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  return kName;
}

}  // namespace

STDMETHODIMP FakeWindow::QueryInterface(REFIID riid, void** object) {
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IHTMLWindow2)
    return Answer(static_cast<IHTMLWindow2*>(this), object);
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP FakeBody::QueryInterface(REFIID riid, void** object) {
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IHTMLElement)
    return Answer(static_cast<IHTMLElement*>(this), object);
  if (riid == IID_IHTMLBodyElement) return Answer(static_cast<IHTMLBodyElement*>(this), object);
  *object = nullptr;
  return E_NOINTERFACE;
}

FakeDocument::FakeDocument() {
  bodyObject.Attach(new FakeBody);
  windowObject.Attach(new FakeWindow);
}

STDMETHODIMP FakeDocument::QueryInterface(REFIID riid, void** object) {
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IHTMLDocument ||
      riid == IID_IHTMLDocument2)
    return Answer(static_cast<IHTMLDocument2*>(this), object);
  if (riid == __uuidof(ICustomDoc)) return Answer(static_cast<ICustomDoc*>(this), object);
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP FakeDocument::get_body(IHTMLElement** body) {
  *body = bodyObject.Get();
  if (*body) (*body)->AddRef();
  return S_OK;
}

STDMETHODIMP FakeDocument::get_parentWindow(IHTMLWindow2** window) {
  *window = windowObject.Get();
  if (*window) (*window)->AddRef();
  return S_OK;
}

FakeBrowser::FakeBrowser() { document.Attach(new FakeDocument); }

FakeBrowser::~FakeBrowser() {
  if (window) DestroyWindow(window);
}

STDMETHODIMP FakeBrowser::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IOleObject)
    return Answer(static_cast<IOleObject*>(this), object);
  if (riid == IID_IOleWindow || riid == IID_IOleInPlaceObject)
    return Answer(static_cast<IOleInPlaceObject*>(this), object);
  if (riid == IID_IOleInPlaceActiveObject)
    return Answer(static_cast<IOleInPlaceActiveObject*>(this), object);
  if (riid == IID_IDispatch || riid == IID_IWebBrowser || riid == IID_IWebBrowserApp ||
      riid == IID_IWebBrowser2)
    return Answer(static_cast<IWebBrowser2*>(this), object);
  if (riid == IID_IConnectionPointContainer)
    return Answer(static_cast<IConnectionPointContainer*>(this), object);
  if (riid == IID_IConnectionPoint) return Answer(static_cast<IConnectionPoint*>(this), object);
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP FakeBrowser::SetClientSite(IOleClientSite* site) {
  if (site == nullptr) ++clientSiteCleared;
  clientSite = site;
  return S_OK;
}

STDMETHODIMP FakeBrowser::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) {
  if (verb == OLEIVERB_UIACTIVATE) {
    ++uiActivations;
    if (inPlaceSite) inPlaceSite->OnUIActivate();
    if (frame) frame->SetActiveObject(this, nullptr);
    return S_OK;
  }
  if (verb != OLEIVERB_INPLACEACTIVATE || site == nullptr) return E_NOTIMPL;
  ComPtr<IOleInPlaceSite> inPlace;
  if (FAILED(site->QueryInterface(IID_PPV_ARGS(&inPlace))) || inPlace->CanInPlaceActivate() != S_OK)
    return E_FAIL;
  inPlace->OnInPlaceActivate();
  HWND parent = nullptr;
  inPlace->GetWindow(&parent);
  ComPtr<IOleInPlaceUIWindow> documentWindow;
  RECT clip{};
  OLEINPLACEFRAMEINFO info{};
  info.cb = sizeof(info);
  if (FAILED(inPlace->GetWindowContext(&frame, &documentWindow, &position, &clip, &info)))
    return E_FAIL;
  inPlaceSite = inPlace;
  window =
      CreateWindowExW(0, FakeWindowClass(), L"", WS_CHILD | WS_VISIBLE, position.left, position.top,
                      position.right - position.left, position.bottom - position.top, parent,
                      nullptr, GetModuleHandleW(nullptr), nullptr);
  return window ? S_OK : E_FAIL;
}

STDMETHODIMP FakeBrowser::InPlaceDeactivate() {
  ++deactivations;
  if (window) DestroyWindow(window);
  window = nullptr;
  if (inPlaceSite) inPlaceSite->OnInPlaceDeactivate();
  inPlaceSite.Reset();
  frame.Reset();
  return S_OK;
}

STDMETHODIMP FakeBrowser::SetObjectRects(LPCRECT rect, LPCRECT) {
  position = *rect;
  if (window)
    MoveWindow(window, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
               TRUE);
  return S_OK;
}

STDMETHODIMP FakeBrowser::Navigate2(VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) {
  if (url == nullptr || url->vt != VT_BSTR) return E_INVALIDARG;
  navigations.emplace_back(url->bstrVal ? url->bstrVal : L"");
  return navigateAnswer;
}

STDMETHODIMP FakeBrowser::get_Document(IDispatch** result) {
  *result = document ? static_cast<IHTMLDocument2*>(document.Get()) : nullptr;
  if (*result) (*result)->AddRef();
  return S_OK;
}

STDMETHODIMP FakeBrowser::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
  *point = nullptr;
  if (riid != DIID_DWebBrowserEvents2) return CONNECT_E_NOCONNECTION;
  return Answer(static_cast<IConnectionPoint*>(this), reinterpret_cast<void**>(point));
}

STDMETHODIMP FakeBrowser::Advise(IUnknown* unknown, DWORD* cookie) {
  *cookie = 0;
  if (sink) return CONNECT_E_ADVISELIMIT;
  if (FAILED(unknown->QueryInterface(IID_PPV_ARGS(&sink)))) return CONNECT_E_CANNOTCONNECT;
  ++advises;
  *cookie = 7;
  return S_OK;
}

STDMETHODIMP FakeBrowser::Unadvise(DWORD cookie) {
  if (cookie != 7 || !sink) return CONNECT_E_NOCONNECTION;
  ++unadvises;
  sink.Reset();
  return S_OK;
}

HRESULT FakeBrowser::Raise(DISPID id, std::vector<VARIANT> argsFirstToLast) {
  if (!sink) return E_UNEXPECTED;
  std::vector<VARIANT> args(argsFirstToLast.rbegin(), argsFirstToLast.rend());
  DISPPARAMS params{};
  params.rgvarg = args.empty() ? nullptr : args.data();
  params.cArgs = static_cast<UINT>(args.size());
  return sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                      nullptr);
}

VARIANT_BOOL FakeBrowser::BeforeNavigate2(IDispatch* target, const std::wstring& url) {
  Strings strings;
  VARIANT address = strings.Text(url), flags, frameName = strings.Text(L""), postData,
          headers = strings.Text(L"");
  VariantInit(&flags);
  flags.vt = VT_I4;
  flags.lVal = 0;
  VariantInit(&postData);
  VARIANT_BOOL cancel = VARIANT_FALSE;
  Raise(DISPID_BEFORENAVIGATE2,
        {Dispatch(target), ByRef(&address), ByRef(&flags), ByRef(&frameName), ByRef(&postData),
         ByRef(&headers), BoolRef(&cancel)});
  return cancel;
}

void FakeBrowser::NavigateComplete2(IDispatch* target, const std::wstring& url) {
  Strings strings;
  VARIANT address = strings.Text(url);
  Raise(DISPID_NAVIGATECOMPLETE2, {Dispatch(target), ByRef(&address)});
}

void FakeBrowser::DocumentComplete(IDispatch* target, const std::wstring& url) {
  Strings strings;
  VARIANT address = strings.Text(url);
  Raise(DISPID_DOCUMENTCOMPLETE, {Dispatch(target), ByRef(&address)});
}

VARIANT_BOOL FakeBrowser::NavigateError(IDispatch* target, const std::wstring& url,
                                        HRESULT status) {
  Strings strings;
  VARIANT address = strings.Text(url), frameName = strings.Text(L""), code;
  VariantInit(&code);
  code.vt = VT_I4;
  code.lVal = status;
  VARIANT_BOOL cancel = VARIANT_FALSE;
  Raise(DISPID_NAVIGATEERROR,
        {Dispatch(target), ByRef(&address), ByRef(&frameName), ByRef(&code), BoolRef(&cancel)});
  return cancel;
}

VARIANT_BOOL FakeBrowser::NewWindow2() {
  IDispatch* newWindow = nullptr;
  VARIANT windowRef;
  VariantInit(&windowRef);
  windowRef.vt = VT_BYREF | VT_DISPATCH;
  windowRef.ppdispVal = &newWindow;
  VARIANT_BOOL cancel = VARIANT_FALSE;
  Raise(DISPID_NEWWINDOW2, {windowRef, BoolRef(&cancel)});
  return cancel;
}

VARIANT_BOOL FakeBrowser::NewWindow3(const std::wstring& url) {
  Strings strings;
  IDispatch* newWindow = nullptr;
  VARIANT windowRef, flags;
  VariantInit(&windowRef);
  windowRef.vt = VT_BYREF | VT_DISPATCH;
  windowRef.ppdispVal = &newWindow;
  VariantInit(&flags);
  flags.vt = VT_I4;
  flags.lVal = 6;  // NWMF_USERINITED | NWMF_FIRST
  VARIANT_BOOL cancel = VARIANT_FALSE;
  Raise(DISPID_NEWWINDOW3, {windowRef, BoolRef(&cancel), flags,
                            strings.Text(L"http://page.example/"), strings.Text(url)});
  return cancel;
}

void FakeBrowser::TitleChange(const std::wstring& text) {
  Strings strings;
  Raise(DISPID_TITLECHANGE, {strings.Text(text)});
}

class FakeBrowserClass::Factory final : public IClassFactory {
 public:
  explicit Factory(FakeBrowserClass* owner) : m_owner(owner) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (riid == IID_IUnknown || riid == IID_IClassFactory)
      return Answer(static_cast<IClassFactory*>(this), object);
    *object = nullptr;
    return E_NOINTERFACE;
  }
  FAKE_REFCOUNT();
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    if (m_owner == nullptr) return E_UNEXPECTED;
    ComPtr<FakeBrowser> browser;
    browser.Attach(new FakeBrowser);
    const HRESULT hr = browser->QueryInterface(riid, object);
    if (SUCCEEDED(hr)) m_owner->created.push_back(browser);
    return hr;
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }
  FakeBrowserClass* m_owner;
};

FakeBrowserClass::FakeBrowserClass() : m_factory(new Factory(this)) {
  registration = CoRegisterClassObject(CLSID_WebBrowser, static_cast<IClassFactory*>(m_factory),
                                       CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie);
}

FakeBrowserClass::~FakeBrowserClass() {
  if (SUCCEEDED(registration)) CoRevokeClassObject(m_cookie);
  m_factory->m_owner = nullptr;
  m_factory->Release();
}
