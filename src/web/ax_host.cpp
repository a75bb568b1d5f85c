// How the web browser control is hosted
// --------------------------------------
// A host window owns one heap-allocated CAxHost, a COM object that is the control's
// client site (IOleClientSite), its in-place site (IOleInPlaceSite), its frame
// (IOleInPlaceFrame, which is also the only UI window it gets) and its host-level UI
// handler (IDocHostUIHandler, which the control finds by querying the client site).
// The pointer lives in a window property, so superclasses keep GWLP_USERDATA and their
// extra bytes for themselves.
//
// WM_CREATE reads the window text; when it is not empty the host creates CLSID_WebBrowser,
// gives it the client site, starts it with IPersistStreamInit::InitNew, activates it in
// place over the whole client area (the control then makes its own child window inside
// ours) and navigates it to the text. WM_SIZE keeps the control's rectangle on the client
// area, WM_SETFOCUS UI-activates it, and WM_FORWARDMSG offers a message to the active
// object the control registered with SetActiveObject (or, before it did, to the one it
// answers QueryInterface with).
//
// WM_DESTROY deactivates and closes the control and takes the client site back, which
// makes the control drop its references to the host; WM_NCDESTROY drops the window's
// own reference. A control that still holds a reference after that talks to a host that
// no longer has a window and answers like one without a control.
//
// The UI-handler questions are answered by the host first (its presets) and then by the
// owner's IAxHostUIHandler when one is set. Everything runs on the thread that created
// the window; counts are interlocked because COM asks for it. No C++ exception leaves a
// COM method or the window procedure.
#include "web/ax_host.h"

#include <exdisp.h>
#include <mshtmhst.h>

#include <new>
#include <string>

using Microsoft::WRL::ComPtr;

namespace {

class CAxHost final : public IOleClientSite,
                      public IOleInPlaceSite,
                      public IOleInPlaceFrame,
                      public IDocHostUIHandler {
 public:
  explicit CAxHost(HWND hwnd) : m_hWnd(hwnd) {}

  // Creates the control for url and activates it; false leaves the host without one.
  bool CreateControl(const std::wstring& url);
  void CloseControl();
  void Detach() { m_hWnd = nullptr; }

  HRESULT QueryControl(REFIID riid, void** object) const {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    return m_control ? m_control->QueryInterface(riid, object) : E_FAIL;
  }
  void SetUIHandler(IAxHostUIHandler* handler) { m_uiHandler = handler; }
  void Resize();
  void UIActivate();
  LRESULT Forward(MSG* msg);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_cRef); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG count = InterlockedDecrement(&m_cRef);
    if (count == 0) delete this;
    return count;
  }

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetContainer(IOleContainer** container) override {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow (of the site and of the frame)
  STDMETHODIMP GetWindow(HWND* hwnd) override {
    if (hwnd == nullptr) return E_POINTER;
    *hwnd = m_hWnd;
    return m_hWnd ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override { return m_hWnd ? S_OK : S_FALSE; }
  STDMETHODIMP OnInPlaceActivate() override;
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override {
    m_inPlace.Reset();
    m_active.Reset();
    return S_OK;
  }
  STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
  STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnPosRectChange(LPCRECT rect) override {
    if (rect && m_inPlace) m_inPlace->SetObjectRects(rect, rect);
    return S_OK;
  }

  // IOleInPlaceUIWindow and IOleInPlaceFrame: no menus, no tool space.
  STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) override {
    m_active = active;
    return S_OK;
  }
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  // Frame and UI handler share this one; both answers are "done".
  STDMETHODIMP EnableModeless(BOOL enable) override {
    if (m_uiHandler) m_uiHandler->HostEnableModeless(enable);
    return S_OK;
  }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  // IDocHostUIHandler
  STDMETHODIMP ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget,
                               IDispatch* object) override;
  STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
  STDMETHODIMP ShowUI(DWORD id, IOleInPlaceActiveObject* activeObject,
                      IOleCommandTarget* commandTarget, IOleInPlaceFrame* frame,
                      IOleInPlaceUIWindow* document) override;
  STDMETHODIMP HideUI() override {
    if (m_uiHandler) m_uiHandler->HostHideUI();
    return S_OK;
  }
  STDMETHODIMP UpdateUI() override {
    if (m_uiHandler) m_uiHandler->HostUpdateUI();
    return S_OK;
  }
  STDMETHODIMP OnDocWindowActivate(BOOL activate) override {
    if (m_uiHandler) m_uiHandler->HostOnDocWindowActivate(activate);
    return S_OK;
  }
  STDMETHODIMP OnFrameWindowActivate(BOOL activate) override {
    if (m_uiHandler) m_uiHandler->HostOnFrameWindowActivate(activate);
    return S_OK;
  }
  STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window,
                            BOOL frameWindow) override {
    if (m_uiHandler && border) m_uiHandler->HostResizeBorder(*border, window, frameWindow);
    return S_OK;
  }
  STDMETHODIMP TranslateAccelerator(LPMSG msg, const GUID* group, DWORD command) override;
  STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD reserved) override;
  STDMETHODIMP GetDropTarget(IDropTarget* dropTarget, IDropTarget** target) override;
  STDMETHODIMP GetExternal(IDispatch** external) override;
  STDMETHODIMP TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* translated) override;
  STDMETHODIMP FilterDataObject(IDataObject* object, IDataObject** filtered) override;

 private:
  ~CAxHost() = default;

  LONG m_cRef = 1;
  HWND m_hWnd;
  ComPtr<IOleObject> m_control;
  ComPtr<IOleInPlaceObject> m_inPlace;
  ComPtr<IOleInPlaceActiveObject> m_active;
  IAxHostUIHandler* m_uiHandler = nullptr;
};

STDMETHODIMP CAxHost::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IOleClientSite) {
    *object = static_cast<IOleClientSite*>(this);
  } else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite) {
    *object = static_cast<IOleInPlaceSite*>(this);
  } else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame) {
    *object = static_cast<IOleInPlaceFrame*>(this);
  } else if (riid == IID_IDocHostUIHandler) {
    *object = static_cast<IDocHostUIHandler*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

bool CAxHost::CreateControl(const std::wstring& url) {
  ComPtr<IOleObject> control;
  if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&control))))
    return false;
  if (FAILED(control->SetClientSite(this))) return false;
  ComPtr<IPersistStreamInit> persist;
  if (SUCCEEDED(control.As(&persist))) persist->InitNew();
  m_control = control;
  RECT rect{};
  GetClientRect(m_hWnd, &rect);
  if (FAILED(control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, m_hWnd, &rect))) {
    CloseControl();
    return false;
  }
  ComPtr<IWebBrowser2> browser;
  if (SUCCEEDED(control.As(&browser))) {
    VARIANT target;
    VariantInit(&target);
    target.vt = VT_BSTR;
    target.bstrVal = SysAllocStringLen(url.data(), static_cast<UINT>(url.size()));
    VARIANT empty;
    VariantInit(&empty);
    if (target.bstrVal) browser->Navigate2(&target, &empty, &empty, &empty, &empty);
    VariantClear(&target);
  }
  return true;
}

void CAxHost::CloseControl() {
  if (!m_control) return;
  // The control calls back into the site while it shuts down; from here on the host
  // answers as one without a control.
  ComPtr<IOleObject> control;
  control.Swap(m_control);
  if (m_inPlace) m_inPlace->InPlaceDeactivate();
  control->Close(OLECLOSE_NOSAVE);
  control->SetClientSite(nullptr);
  m_inPlace.Reset();
  m_active.Reset();
}

STDMETHODIMP CAxHost::OnInPlaceActivate() {
  if (m_control) m_control.As(&m_inPlace);
  return S_OK;
}

STDMETHODIMP CAxHost::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                       LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
  if (!frame || !document || !position || !clip || !info) return E_POINTER;
  *frame = static_cast<IOleInPlaceFrame*>(this);
  AddRef();
  *document = nullptr;
  RECT rect{};
  if (m_hWnd) GetClientRect(m_hWnd, &rect);
  *position = rect;
  *clip = rect;
  info->fMDIApp = FALSE;
  info->hwndFrame = m_hWnd ? GetAncestor(m_hWnd, GA_ROOT) : nullptr;
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}

void CAxHost::Resize() {
  if (!m_inPlace || !m_hWnd) return;
  RECT rect{};
  GetClientRect(m_hWnd, &rect);
  m_inPlace->SetObjectRects(&rect, &rect);
}

void CAxHost::UIActivate() {
  if (!m_control || !m_inPlace || !m_hWnd) return;
  RECT rect{};
  GetClientRect(m_hWnd, &rect);
  m_control->DoVerb(OLEIVERB_UIACTIVATE, nullptr, this, 0, m_hWnd, &rect);
}

LRESULT CAxHost::Forward(MSG* msg) {
  if (msg == nullptr) return 0;
  ComPtr<IOleInPlaceActiveObject> active = m_active;
  if (!active && m_control) m_control.As(&active);
  if (!active) return 0;
  return active->TranslateAccelerator(msg) == S_OK ? 1 : 0;
}

STDMETHODIMP CAxHost::ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget,
                                      IDispatch* object) {
  HRESULT result = S_FALSE;
  if (m_uiHandler)
    m_uiHandler->HostShowContextMenu(id, point ? *point : POINT{}, commandTarget, object, &result);
  return result;
}

STDMETHODIMP CAxHost::GetHostInfo(DOCHOSTUIINFO* info) {
  if (info == nullptr) return E_POINTER;
  DWORD flags = DOCHOSTUIFLAG_NO3DBORDER;
  DWORD doubleClick = DOCHOSTUIDBLCLK_DEFAULT;
  if (m_uiHandler) m_uiHandler->HostGetHostInfo(&flags, &doubleClick);
  info->cbSize = sizeof(DOCHOSTUIINFO);
  info->dwFlags = flags;
  info->dwDoubleClick = doubleClick;
  info->pchHostCss = nullptr;
  info->pchHostNS = nullptr;
  return S_OK;
}

STDMETHODIMP CAxHost::ShowUI(DWORD id, IOleInPlaceActiveObject* activeObject,
                             IOleCommandTarget* commandTarget, IOleInPlaceFrame* frame,
                             IOleInPlaceUIWindow* document) {
  HRESULT result = S_FALSE;
  if (m_uiHandler)
    m_uiHandler->HostShowUI(id, activeObject, commandTarget, frame, document, &result);
  return result;
}

STDMETHODIMP CAxHost::TranslateAccelerator(LPMSG msg, const GUID* group, DWORD command) {
  HRESULT result = S_FALSE;
  if (m_uiHandler && msg) m_uiHandler->HostTranslateAccelerator(*msg, group, command, &result);
  return result;
}

STDMETHODIMP CAxHost::GetOptionKeyPath(LPOLESTR* key, DWORD reserved) {
  if (key == nullptr) return E_POINTER;
  *key = nullptr;
  BSTR path = nullptr;
  if (!m_uiHandler || FAILED(m_uiHandler->HostGetOptionKeyPath(&path, reserved)) || !path)
    return E_NOTIMPL;
  // The control frees the key with CoTaskMemFree.
  const size_t bytes = (SysStringLen(path) + 1) * sizeof(wchar_t);
  *key = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
  if (*key) memcpy(*key, path, bytes);
  SysFreeString(path);
  return *key ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CAxHost::GetDropTarget(IDropTarget* dropTarget, IDropTarget** target) {
  if (target == nullptr) return E_POINTER;
  *target = nullptr;
  IUnknown* answer = nullptr;
  if (!m_uiHandler || FAILED(m_uiHandler->HostGetDropTarget(dropTarget, &answer)) || !answer)
    return E_NOTIMPL;
  const HRESULT hr = answer->QueryInterface(IID_PPV_ARGS(target));
  answer->Release();
  return hr;
}

STDMETHODIMP CAxHost::GetExternal(IDispatch** external) {
  if (external == nullptr) return E_POINTER;
  *external = nullptr;
  if (!m_uiHandler) return E_NOTIMPL;
  return m_uiHandler->HostGetExternal(external);
}

STDMETHODIMP CAxHost::TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* translated) {
  if (translated == nullptr) return E_POINTER;
  *translated = nullptr;
  if (!m_uiHandler) return E_NOTIMPL;
  const HRESULT hr = m_uiHandler->HostTranslateUrl(translate, url, translated);
  return (SUCCEEDED(hr) && *translated) ? S_OK : S_FALSE;
}

STDMETHODIMP CAxHost::FilterDataObject(IDataObject* object, IDataObject** filtered) {
  if (filtered == nullptr) return E_POINTER;
  *filtered = nullptr;
  IUnknown* answer = nullptr;
  if (!m_uiHandler || FAILED(m_uiHandler->HostFilterDataObject(object, &answer)) || !answer)
    return S_FALSE;
  const HRESULT hr = answer->QueryInterface(IID_PPV_ARGS(filtered));
  answer->Release();
  return SUCCEEDED(hr) ? S_OK : S_FALSE;
}

constexpr wchar_t kHostProperty[] = L"OvrinAxHost.Host";

CAxHost* HostOf(HWND hwnd) {
  if (hwnd == nullptr) return nullptr;
  return static_cast<CAxHost*>(GetPropW(hwnd, kHostProperty));
}

LRESULT HostWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CAxHost* host = HostOf(hwnd);
  switch (msg) {
    case WM_CREATE: {
      host = new (std::nothrow) CAxHost(hwnd);
      if (host == nullptr) return 0;
      if (!SetPropW(hwnd, kHostProperty, host)) {
        host->Release();
        return 0;
      }
      const int length = GetWindowTextLengthW(hwnd);
      if (length > 0) {
        std::wstring url(static_cast<size_t>(length) + 1, L'\0');
        url.resize(static_cast<size_t>(GetWindowTextW(hwnd, &url[0], length + 1)));
        if (!url.empty()) host->CreateControl(url);
      }
      return 0;
    }
    case WM_SIZE:
      if (host) host->Resize();
      break;
    case WM_SETFOCUS:
      if (host) host->UIActivate();
      return 0;
    case WM_FORWARDMSG:
      return host ? host->Forward(reinterpret_cast<MSG*>(lParam)) : 0;
    case WM_DESTROY:
      if (host) host->CloseControl();
      break;
    case WM_NCDESTROY:
      if (host) {
        RemovePropW(hwnd, kHostProperty);
        host->SetUIHandler(nullptr);
        host->Detach();
        host->Release();
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

bool RegisterAxHostClass(HINSTANCE instance) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, kAxHostClassName, &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = AxHostWindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kAxHostClassName;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

LRESULT CALLBACK AxHostWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    return HostWindowProc(hwnd, msg, wParam, lParam);
  } catch (...) {
    // Only allocation can throw here; the message is left to the default processing.
    return msg == WM_CREATE ? 0 : DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

HRESULT CAxWindow::QueryControl(REFIID riid, void** object) const {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  CAxHost* host = HostOf(m_hWnd);
  return host ? host->QueryControl(riid, object) : E_FAIL;
}

HRESULT CAxWindow::SetExternalUIHandler(IAxHostUIHandler* handler) const {
  CAxHost* host = HostOf(m_hWnd);
  if (host == nullptr) return E_FAIL;
  host->SetUIHandler(handler);
  return S_OK;
}
