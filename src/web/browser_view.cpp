#include "web/browser_view.h"

#include <exdisp.h>
#include <exdispid.h>
#include <mshtml.h>
#include <ocidl.h>

#include "base/strings.h"

using Microsoft::WRL::ComPtr;

namespace {

// The flags every document gets: no help menu, no 3D borders.
constexpr DWORD kDocHostFlags =
    DOCHOSTUIFLAG_DISABLE_HELP_MENU | DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_NO3DOUTERBORDER;
static_assert(kDocHostFlags == 0x200006, "document host flags");
#if defined(__i386__)
static_assert(sizeof(DOCHOSTUIINFO) == 20, "the product's DOCHOSTUIINFO");
#endif

// The input a page may want for its accelerators: WM_KEYDOWN to WM_UNICHAR and
// WM_MOUSEMOVE to WM_MOUSEHWHEEL.
constexpr UINT kFirstKeyMessage = 0x0100;
constexpr UINT kLastKeyMessage = 0x0109;
constexpr UINT kFirstMouseMessage = 0x0200;
constexpr UINT kLastMouseMessage = 0x020E;

HINSTANCE ThisModule() { return GetModuleHandleW(nullptr); }

// The host's procedure does the default processing of the view's windows.
WNDPROC g_hostProc = nullptr;

bool RegisterViewClass(WNDPROC viewProc) {
  const HINSTANCE instance = ThisModule();
  if (!RegisterAxHostClass(instance)) return false;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExW(instance, kAxHostClassName, &wc)) return false;
  g_hostProc = wc.lpfnWndProc;
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, kBrowserViewClassName, &existing)) return true;
  wc.cbSize = sizeof(wc);
  wc.hInstance = instance;
  wc.lpfnWndProc = viewProc;
  wc.lpszClassName = kBrowserViewClassName;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// Event arguments arrive last first in rgvarg; index counts from the first argument.
const VARIANT* Arg(const DISPPARAMS& params, UINT index) {
  if (params.rgvarg == nullptr || index >= params.cArgs) return nullptr;
  const VARIANT* arg = &params.rgvarg[params.cArgs - 1 - index];
  // VARIANT* parameters come as VT_BYREF | VT_VARIANT.
  if (arg->vt == (VT_BYREF | VT_VARIANT)) arg = arg->pvarVal;
  return arg;
}

std::wstring ArgText(const VARIANT* arg) {
  if (arg == nullptr) return std::wstring();
  BSTR text = nullptr;
  if (arg->vt == VT_BSTR) text = arg->bstrVal;
  if (arg->vt == (VT_BYREF | VT_BSTR) && arg->pbstrVal) text = *arg->pbstrVal;
  return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

IDispatch* ArgDispatch(const VARIANT* arg) {
  if (arg == nullptr) return nullptr;
  return arg->vt == VT_DISPATCH ? arg->pdispVal : nullptr;
}

IDispatch** ArgDispatchRef(const VARIANT* arg) {
  return (arg && arg->vt == (VT_BYREF | VT_DISPATCH)) ? arg->ppdispVal : nullptr;
}

VARIANT_BOOL* ArgBoolRef(const VARIANT* arg) {
  return (arg && arg->vt == (VT_BYREF | VT_BOOL)) ? arg->pboolVal : nullptr;
}

bool ArgLong(const VARIANT* arg, LONG* value) {
  if (arg == nullptr) return false;
  VARIANT copy;
  VariantInit(&copy);
  if (FAILED(VariantChangeType(&copy, const_cast<VARIANT*>(arg), 0, VT_I4))) {
    // VT_ERROR does not convert; a status code may come as one.
    if (arg->vt != VT_ERROR) return false;
    *value = arg->scode;
    return true;
  }
  *value = copy.lVal;
  return true;
}

// Script links and blank pages (prefixes) raise nothing and are never cancelled.
bool IsSilentUrl(const std::wstring& url) {
  return url.compare(0, 10, L"javascript") == 0 || url.compare(0, 11, L"about:blank") == 0;
}

}  // namespace

// ---- Lifetime and window ----

CBrowserView::CBrowserView() { RegisterViewClass(&CBrowserView::WindowProc); }

CBrowserView::~CBrowserView() {
  if (m_hWnd && IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
}

HWND CBrowserView::CreateBrowser(HWND parent, const RECT& rect, const std::wstring& initialUrl) {
  if (m_hWnd) return nullptr;
  if (!g_hostProc && !RegisterViewClass(&CBrowserView::WindowProc)) return nullptr;
  const HWND hwnd = CreateWindowExW(
      0, kBrowserViewClassName, initialUrl.c_str(), WS_CHILD | WS_VISIBLE, rect.left, rect.top,
      rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, ThisModule(), this);
  if (hwnd == nullptr) return nullptr;
  ComPtr<IWebBrowser2> browser;
  if (SUCCEEDED(QueryControl(browser))) browser->put_RegisterAsDropTarget(VARIANT_FALSE);
  return hwnd;
}

LRESULT CALLBACK CBrowserView::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* view = static_cast<CBrowserView*>(create->lpCreateParams);
    if (view) {
      view->m_hWnd = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
    }
  }
  auto* view = reinterpret_cast<CBrowserView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  try {
    if (view) return view->ProcessMessage(msg, wParam, lParam);
  } catch (...) {
    // Only allocation can throw in the view; the message falls to the host.
  }
  return CallWindowProcW(g_hostProc, hwnd, msg, wParam, lParam);
}

LRESULT CBrowserView::ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  const HWND hwnd = m_hWnd;
  switch (msg) {
    case WM_CREATE: {
      // The host creates the control from the window text here.
      const LRESULT result = CallWindowProcW(g_hostProc, hwnd, msg, wParam, lParam);
      const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
      if ((style & WS_CLIPCHILDREN) == 0)
        SetWindowLongPtrW(hwnd, GWL_STYLE, style | WS_CLIPCHILDREN);
      Connect();
      return result;
    }
    case WM_DESTROY:
      Disconnect();
      break;
    case WM_SETFOCUS: {
      const LRESULT result = CallWindowProcW(g_hostProc, hwnd, msg, wParam, lParam);
      FocusDocument();
      return result;
    }
    case WM_NCDESTROY: {
      const LRESULT result = CallWindowProcW(g_hostProc, hwnd, msg, wParam, lParam);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      m_hWnd = nullptr;
      return result;
    }
    default:
      break;
  }
  return CallWindowProcW(g_hostProc, hwnd, msg, wParam, lParam);
}

void CBrowserView::Connect() {
  ComPtr<IConnectionPointContainer> container;
  if (FAILED(QueryControl(container))) return;
  if (m_dwCookie == 0) {
    ComPtr<IConnectionPoint> point;
    DWORD cookie = 0;
    if (SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point)) &&
        SUCCEEDED(point->Advise(&m_sink, &cookie)))
      m_dwCookie = cookie;
  }
  SetExternalUIHandler(this);
}

void CBrowserView::Disconnect() {
  if (m_dwCookie == 0) return;
  ComPtr<IConnectionPointContainer> container;
  ComPtr<IConnectionPoint> point;
  if (SUCCEEDED(QueryControl(container)) &&
      SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point)))
    point->Unadvise(m_dwCookie);
  m_dwCookie = 0;
}

// ---- Operations ----

bool CBrowserView::Navigate(const std::wstring& url) {
  m_strUrl = url;
  ComPtr<IWebBrowser2> browser;
  if (FAILED(QueryControl(browser))) return false;
  VARIANT target;
  VariantInit(&target);
  target.vt = VT_BSTR;
  target.bstrVal = SysAllocStringLen(url.data(), static_cast<UINT>(url.size()));
  if (target.bstrVal == nullptr) return false;
  VARIANT empty;
  VariantInit(&empty);
  const HRESULT hr = browser->Navigate2(&target, &empty, &empty, &empty, &empty);
  VariantClear(&target);
  if (FAILED(hr)) return false;
  browser->put_Silent(VARIANT_TRUE);
  m_bNavigatePending = true;
  m_pTopFrame = nullptr;
  return true;
}

void CBrowserView::Refresh() {
  ComPtr<IWebBrowser2> browser;
  if (SUCCEEDED(QueryControl(browser))) browser->Refresh();
}

void CBrowserView::FocusDocument() {
  ComPtr<IWebBrowser2> browser;
  ComPtr<IDispatch> document;
  ComPtr<IHTMLDocument2> html;
  ComPtr<IHTMLWindow2> window;
  if (SUCCEEDED(QueryControl(browser)) && SUCCEEDED(browser->get_Document(&document)) && document &&
      SUCCEEDED(document.As(&html)) && SUCCEEDED(html->get_parentWindow(&window)) && window)
    window->focus();
}

BOOL CBrowserView::PreTranslateMessage(MSG* msg) {
  if (msg == nullptr || m_hWnd == nullptr) return FALSE;
  const bool keyboard = msg->message >= kFirstKeyMessage && msg->message <= kLastKeyMessage;
  const bool mouse = msg->message >= kFirstMouseMessage && msg->message <= kLastMouseMessage;
  if (!keyboard && !mouse) return FALSE;
  if (msg->hwnd != m_hWnd && !IsChild(m_hWnd, msg->hwnd)) return FALSE;
  return SendMessageW(m_hWnd, WM_FORWARDMSG, 0, reinterpret_cast<LPARAM>(msg)) != 0 ? TRUE : FALSE;
}

// ---- Events ----

void CBrowserView::OnBeforeNavigate2(IDispatch*, const std::wstring& url, VARIANT_BOOL* cancel) {
  m_bCancelNavigate = false;
  // Script links and blank pages go ahead unseen.
  if (IsSilentUrl(url)) return;
  m_strUrl = url;
  if (m_bOpenNextOutside || Contains(url, L".exe")) {
    m_bCancelNavigate = true;
    m_bOpenNextOutside = false;
    m_event.Fire(WEBNOTIFY_OPENOUTSIDE, 0, Self());
  } else {
    m_event.Fire(WEBNOTIFY_BEFORENAVIGATE, 0, Self());
  }
  if (m_bCancelNavigate && cancel) *cancel = VARIANT_TRUE;
}

void CBrowserView::OnNavigateComplete2(IDispatch* frame, const std::wstring& url) {
  // The blank page the host loads first may complete after the form's first Navigate;
  // it must not pass for the requested page.
  if (m_bNavigatePending && url != L"about:blank") {
    m_bNavigatePending = false;
    m_pTopFrame = frame;
    m_event.Fire(WEBNOTIFY_NAVIGATECOMPLETE, 0, Self());
  }
  ComPtr<IWebBrowser2> browser;
  ComPtr<IDispatch> document;
  ComPtr<IHTMLDocument2> html;
  ComPtr<ICustomDoc> custom;
  if (SUCCEEDED(QueryControl(browser)) && SUCCEEDED(browser->get_Document(&document)) && document &&
      SUCCEEDED(document.As(&html)) && SUCCEEDED(html.As(&custom)))
    custom->SetUIHandler(this);
}

void CBrowserView::OnDocumentComplete(IDispatch* frame, const std::wstring&) {
  // The top-level frame object stays the same across its navigations, so every later
  // top-level completion is reported too, until the next Navigate.
  if (frame != nullptr && frame == m_pTopFrame) m_event.Fire(WEBNOTIFY_DOCUMENTCOMPLETE, 0, Self());
  if (m_bNoScroll) HideScrollbars(frame);
}

void CBrowserView::HideScrollbars(IDispatch* frame) {
  if (frame == nullptr) return;
  ComPtr<IWebBrowser2> browser;
  ComPtr<IDispatch> document;
  ComPtr<IHTMLDocument2> html;
  ComPtr<IHTMLElement> body;
  ComPtr<IHTMLBodyElement> bodyElement;
  if (FAILED(frame->QueryInterface(IID_PPV_ARGS(&browser))) ||
      FAILED(browser->get_Document(&document)) || !document || FAILED(document.As(&html)) ||
      FAILED(html->get_body(&body)) || !body || FAILED(body.As(&bodyElement)))
    return;
  BSTR no = SysAllocString(L"no");
  if (no == nullptr) return;
  bodyElement->put_scroll(no);
  SysFreeString(no);
}

void CBrowserView::OnNavigateError(IDispatch*, const std::wstring&, LONG status,
                                   VARIANT_BOOL* cancel) {
  // A cancelled navigation ends in E_ABORT; that is no error to report.
  if (status == E_ABORT) return;
  m_event.Fire(WEBNOTIFY_NAVIGATEERROR, 0, Self());
  if (cancel) *cancel = VARIANT_TRUE;
}

void CBrowserView::OnNewWindow2(IDispatch**, VARIANT_BOOL* cancel) {
  if (cancel) *cancel = m_bBlockNewWindows ? VARIANT_TRUE : VARIANT_FALSE;
}

void CBrowserView::OnNewWindow3(IDispatch**, VARIANT_BOOL* cancel, DWORD, const std::wstring&,
                                const std::wstring& url) {
  if (cancel) *cancel = m_bBlockNewWindows ? VARIANT_TRUE : VARIANT_FALSE;
  if (Contains(url, L"127.0.0.1")) {
    if (cancel) *cancel = VARIANT_TRUE;
    return;
  }
  // A window opened blank or by script has no page to hand out, and its BeforeNavigate2
  // passes unseen: the flag would stay set and catch the next ordinary navigation.
  if (url.empty() || IsSilentUrl(url)) return;
  // The target comes back as our own BeforeNavigate2, which cancels it and hands it to
  // the form. Should the navigation not start, no later one may be taken for it.
  m_bOpenNextOutside = true;
  if (!Navigate(url)) m_bOpenNextOutside = false;
}

void CBrowserView::OnTitleChange(const std::wstring& text) {
  m_event.Fire(WEBNOTIFY_TITLECHANGE, 0, reinterpret_cast<WebNotifyLParam>(text.c_str()));
}

HRESULT CBrowserView::Dispatch(DISPID id, const DISPPARAMS& params) {
  switch (id) {
    case DISPID_BEFORENAVIGATE2:
      if (params.cArgs < 7) return DISP_E_BADPARAMCOUNT;
      OnBeforeNavigate2(ArgDispatch(Arg(params, 0)), ArgText(Arg(params, 1)),
                        ArgBoolRef(Arg(params, 6)));
      return S_OK;
    case DISPID_NAVIGATECOMPLETE2:
      if (params.cArgs < 2) return DISP_E_BADPARAMCOUNT;
      OnNavigateComplete2(ArgDispatch(Arg(params, 0)), ArgText(Arg(params, 1)));
      return S_OK;
    case DISPID_DOCUMENTCOMPLETE:
      if (params.cArgs < 2) return DISP_E_BADPARAMCOUNT;
      OnDocumentComplete(ArgDispatch(Arg(params, 0)), ArgText(Arg(params, 1)));
      return S_OK;
    case DISPID_NAVIGATEERROR: {
      if (params.cArgs < 5) return DISP_E_BADPARAMCOUNT;
      LONG status = 0;
      if (!ArgLong(Arg(params, 3), &status)) return DISP_E_TYPEMISMATCH;
      OnNavigateError(ArgDispatch(Arg(params, 0)), ArgText(Arg(params, 1)), status,
                      ArgBoolRef(Arg(params, 4)));
      return S_OK;
    }
    case DISPID_NEWWINDOW2:
      if (params.cArgs < 2) return DISP_E_BADPARAMCOUNT;
      OnNewWindow2(ArgDispatchRef(Arg(params, 0)), ArgBoolRef(Arg(params, 1)));
      return S_OK;
    case DISPID_NEWWINDOW3: {
      if (params.cArgs < 5) return DISP_E_BADPARAMCOUNT;
      LONG flags = 0;
      ArgLong(Arg(params, 2), &flags);
      OnNewWindow3(ArgDispatchRef(Arg(params, 0)), ArgBoolRef(Arg(params, 1)),
                   static_cast<DWORD>(flags), ArgText(Arg(params, 3)), ArgText(Arg(params, 4)));
      return S_OK;
    }
    case DISPID_TITLECHANGE:
      if (params.cArgs < 1) return DISP_E_BADPARAMCOUNT;
      OnTitleChange(ArgText(Arg(params, 0)));
      return S_OK;
    default:
      return S_OK;  // events the view does not follow
  }
}

STDMETHODIMP CBrowserView::CEventSink::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID_DWebBrowserEvents2) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP CBrowserView::CEventSink::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP CBrowserView::CEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CBrowserView::CEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}

STDMETHODIMP CBrowserView::CEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                              VARIANT*, EXCEPINFO*, UINT*) {
  if (params == nullptr) return E_INVALIDARG;
  try {
    return m_view->Dispatch(id, *params);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

// ---- UI handler of the documents ----

STDMETHODIMP CBrowserView::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_INVALIDARG;
  if (riid == IID_IUnknown || riid == IID_IDocHostUIHandler) {
    *object = static_cast<IDocHostUIHandler*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CBrowserView::AddRef() { return InterlockedIncrement(&m_cRef); }

STDMETHODIMP_(ULONG) CBrowserView::Release() { return InterlockedDecrement(&m_cRef); }

STDMETHODIMP CBrowserView::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) {
  return S_FALSE;  // the browser shows its own menu
}

STDMETHODIMP CBrowserView::GetHostInfo(DOCHOSTUIINFO* info) {
  if (info == nullptr) return E_POINTER;
  info->cbSize = sizeof(DOCHOSTUIINFO);
  info->dwFlags |= kDocHostFlags;
  if (m_bNoScroll) info->dwFlags |= DOCHOSTUIFLAG_SCROLL_NO;
  info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
  info->pchHostCss = nullptr;
  info->pchHostNS = nullptr;
  return S_OK;
}

STDMETHODIMP CBrowserView::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*,
                                  IOleInPlaceFrame*, IOleInPlaceUIWindow*) {
  return E_NOTIMPL;
}

STDMETHODIMP CBrowserView::HideUI() { return S_OK; }

STDMETHODIMP CBrowserView::UpdateUI() { return S_OK; }

STDMETHODIMP CBrowserView::EnableModeless(BOOL) { return E_NOTIMPL; }

STDMETHODIMP CBrowserView::OnDocWindowActivate(BOOL) { return E_NOTIMPL; }

STDMETHODIMP CBrowserView::OnFrameWindowActivate(BOOL) { return E_NOTIMPL; }

STDMETHODIMP CBrowserView::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return E_NOTIMPL; }

STDMETHODIMP CBrowserView::TranslateAccelerator(LPMSG, const GUID*, DWORD) {
  return E_NOTIMPL;  // the browser handles the key itself
}

STDMETHODIMP CBrowserView::GetOptionKeyPath(LPOLESTR*, DWORD) { return S_OK; }

STDMETHODIMP CBrowserView::GetDropTarget(IDropTarget*, IDropTarget**) { return E_NOTIMPL; }

STDMETHODIMP CBrowserView::GetExternal(IDispatch** external) { return HostGetExternal(external); }

STDMETHODIMP CBrowserView::TranslateUrl(DWORD, LPWSTR, LPWSTR*) { return E_NOTIMPL; }

STDMETHODIMP CBrowserView::FilterDataObject(IDataObject*, IDataObject**) { return E_NOTIMPL; }

// ---- Answers for the host ----

HRESULT CBrowserView::HostShowContextMenu(DWORD, POINT, IUnknown*, IDispatch*, HRESULT* result) {
  if (result) *result = S_OK;  // no context menu at all
  return S_OK;
}

HRESULT CBrowserView::HostGetExternal(IDispatch** external) {
  // A handler may store an AddRef'ed object; none does, so pages get no external object.
  if (external == nullptr) return E_POINTER;
  *external = nullptr;
  try {
    m_event.Fire(WEBNOTIFY_GETEXTERNAL, reinterpret_cast<WebNotifyWParam>(external), Self());
  } catch (...) {
    return E_OUTOFMEMORY;  // a form's handler failed; nothing may reach the control
  }
  return S_OK;
}
