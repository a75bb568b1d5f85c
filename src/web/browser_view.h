// The child window inside each page-showing form that hosts the web browser control.
// It turns the control's events into web notifications for its form, keeps new windows
// and downloads out of the page, answers the control's UI questions (no 3D border, no
// scrollbars, no help menu) and forwards keys and mouse input for accelerators.
// Main (STA) thread only: the window, the control, its events and the UI handler.
#pragma once

#include <windows.h>
#include <mshtmhst.h>

#include <string>

#include "web/ax_host.h"
#include "web/web_notify.h"

// The window class of the views, a superclass of the host's.
inline constexpr wchar_t kBrowserViewClassName[] = L"OvrinBrowserView";

class CBrowserView : public CAxWindow, public IDocHostUIHandler, private IAxHostUIHandler {
 public:
  // Registers the window classes when needed; no window yet.
  CBrowserView();
  // Destroys the window if it still exists, so that it never calls back into a dead view.
  virtual ~CBrowserView();
  CBrowserView(const CBrowserView&) = delete;
  CBrowserView& operator=(const CBrowserView&) = delete;

  // Creates the visible child window at rect (parent client coordinates) with initialUrl as
  // its text, from which the host creates the control and loads it; turns off dropping
  // files on the page. Null when the window cannot be made or one already exists.
  HWND CreateBrowser(HWND parent, const RECT& rect, const std::wstring& initialUrl);
  // Stores url first, then navigates the control silently and marks a navigation
  // pending. False when there is no control or Navigate2 fails (nothing pending then).
  bool Navigate(const std::wstring& url);
  void Refresh();
  // Gives the focus to the page's window; any missing piece ends it quietly.
  void FocusDocument();
  std::wstring GetUrl() const { return m_strUrl; }
  // Keyboard and mouse messages aimed at the view or its descendants go to the control as
  // WM_FORWARDMSG; the result says whether it consumed them. FALSE for any other message.
  virtual BOOL PreTranslateMessage(MSG* msg);

  // IUnknown and IDocHostUIHandler: the handler each loaded document is given. Counting
  // is interlocked; Release never deletes, the view lives as long as its form.
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget,
                               IDispatch* object) override;
  STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
  STDMETHODIMP ShowUI(DWORD id, IOleInPlaceActiveObject* activeObject,
                      IOleCommandTarget* commandTarget, IOleInPlaceFrame* frame,
                      IOleInPlaceUIWindow* document) override;
  STDMETHODIMP HideUI() override;
  STDMETHODIMP UpdateUI() override;
  STDMETHODIMP EnableModeless(BOOL enable) override;
  STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
  STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
  STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frameWindow) override;
  STDMETHODIMP TranslateAccelerator(LPMSG msg, const GUID* group, DWORD command) override;
  STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD reserved) override;
  STDMETHODIMP GetDropTarget(IDropTarget* dropTarget, IDropTarget** target) override;
  STDMETHODIMP GetExternal(IDispatch** external) override;
  STDMETHODIMP TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* translated) override;
  STDMETHODIMP FilterDataObject(IDataObject* object, IDataObject** filtered) override;

  CWebNotify m_event;
  bool m_bNavigatePending = false;
  // Compared only, never called: not reference-counted.
  IDispatch* m_pTopFrame = nullptr;
  volatile LONG m_cRef = 0;
  std::wstring m_strUrl;
  bool m_bNoScroll = true;
  // Set by handlers of WEBNOTIFY_BEFORENAVIGATE to cancel that navigation.
  bool m_bCancelNavigate = false;
  bool m_bBlockNewWindows = false;
  bool m_bOpenNextOutside = false;

 private:
  // The DWebBrowserEvents2 sink, part of the view; its count never deletes either.
  class CEventSink : public IDispatch {
   public:
    explicit CEventSink(CBrowserView* view) : m_view(view) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_cRef); }
    STDMETHODIMP_(ULONG) Release() override { return InterlockedDecrement(&m_cRef); }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                        UINT*) override;

   private:
    CBrowserView* m_view;
    volatile LONG m_cRef = 0;
  };

  // The event handlers, called by the sink with the events' standard arguments.
  HRESULT Dispatch(DISPID id, const DISPPARAMS& params);
  void OnBeforeNavigate2(IDispatch* frame, const std::wstring& url, VARIANT_BOOL* cancel);
  void OnNavigateComplete2(IDispatch* frame, const std::wstring& url);
  void OnDocumentComplete(IDispatch* frame, const std::wstring& url);
  void OnNavigateError(IDispatch* frame, const std::wstring& url, LONG status,
                       VARIANT_BOOL* cancel);
  void OnNewWindow2(IDispatch** window, VARIANT_BOOL* cancel);
  void OnNewWindow3(IDispatch** window, VARIANT_BOOL* cancel, DWORD flags,
                    const std::wstring& context, const std::wstring& url);
  void OnTitleChange(const std::wstring& text);
  void HideScrollbars(IDispatch* frame);

  void Connect();
  void Disconnect();
  WebNotifyLParam Self() { return reinterpret_cast<WebNotifyLParam>(this); }

  // IAxHostUIHandler: the answers for the host's own questions.
  HRESULT HostShowContextMenu(DWORD, POINT, IUnknown*, IDispatch*, HRESULT* result) override;
  HRESULT HostGetHostInfo(DWORD*, DWORD*) override { return S_OK; }
  HRESULT HostShowUI(DWORD, IUnknown*, IUnknown*, IUnknown*, IUnknown*, HRESULT* result) override {
    if (result) *result = S_OK;  // the page shows no menus or toolbars of its own
    return S_OK;
  }
  HRESULT HostHideUI() override { return S_OK; }
  HRESULT HostUpdateUI() override { return S_OK; }
  HRESULT HostEnableModeless(BOOL) override { return S_OK; }
  HRESULT HostOnDocWindowActivate(BOOL) override { return S_OK; }
  HRESULT HostOnFrameWindowActivate(BOOL) override { return S_OK; }
  HRESULT HostResizeBorder(const RECT&, IUnknown*, BOOL) override { return S_OK; }
  HRESULT HostTranslateAccelerator(const MSG&, const GUID*, DWORD, HRESULT*) override {
    return S_OK;
  }
  HRESULT HostGetOptionKeyPath(BSTR*, DWORD) override { return S_OK; }
  HRESULT HostGetDropTarget(IUnknown*, IUnknown**) override { return S_OK; }
  HRESULT HostGetExternal(IDispatch** external) override;
  HRESULT HostTranslateUrl(DWORD, const wchar_t*, wchar_t**) override { return E_NOTIMPL; }
  HRESULT HostFilterDataObject(IUnknown*, IUnknown**) override { return E_NOTIMPL; }

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam);

  CEventSink m_sink{this};
  DWORD m_dwCookie = 0;
};
