// A small ActiveX host window: a window class of our own whose windows create the web
// browser control from their window text and host it in place. Browser views superclass
// it, so this window procedure does their default processing. Main (STA) thread only.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <wrl/client.h>

// The class every host window is registered with.
inline constexpr wchar_t kAxHostClassName[] = L"OvrinAxHost";

// Sent to a host window with a MSG* in lParam: the message is offered to the control's
// in-place active object for accelerator translation. The result is 1 when the control
// consumed it, else 0.
inline constexpr UINT WM_FORWARDMSG = 0x037F;

// The host's owner answers the control's UI-handler questions through this. The host
// presets every out-parameter with its own answer; an implementation changes what it
// wants and returns S_OK, or an error to let the host's answer stand.
class IAxHostUIHandler {
 public:
  // *result is S_FALSE (the control shows its own menu) unless changed; S_OK hides it.
  virtual HRESULT HostShowContextMenu(DWORD id, POINT point, IUnknown* commandTarget,
                                      IDispatch* object, HRESULT* result) = 0;
  // *flags and *doubleClick hold the host's DOCHOSTUIINFO values.
  virtual HRESULT HostGetHostInfo(DWORD* flags, DWORD* doubleClick) = 0;
  virtual HRESULT HostShowUI(DWORD id, IUnknown* activeObject, IUnknown* commandTarget,
                             IUnknown* frame, IUnknown* document, HRESULT* result) = 0;
  virtual HRESULT HostHideUI() = 0;
  virtual HRESULT HostUpdateUI() = 0;
  virtual HRESULT HostEnableModeless(BOOL enable) = 0;
  virtual HRESULT HostOnDocWindowActivate(BOOL activate) = 0;
  virtual HRESULT HostOnFrameWindowActivate(BOOL activate) = 0;
  virtual HRESULT HostResizeBorder(const RECT& border, IUnknown* window, BOOL frameWindow) = 0;
  // *result is S_FALSE (the control handles the key) unless changed.
  virtual HRESULT HostTranslateAccelerator(const MSG& msg, const GUID* group, DWORD command,
                                           HRESULT* result) = 0;
  // *key is null unless changed.
  virtual HRESULT HostGetOptionKeyPath(BSTR* key, DWORD reserved) = 0;
  // *target is null unless changed.
  virtual HRESULT HostGetDropTarget(IUnknown* dropTarget, IUnknown** target) = 0;
  // *external is null unless changed; a non-null one carries a reference.
  virtual HRESULT HostGetExternal(IDispatch** external) = 0;
  virtual HRESULT HostTranslateUrl(DWORD translate, const wchar_t* url, wchar_t** translated) = 0;
  virtual HRESULT HostFilterDataObject(IUnknown* object, IUnknown** filtered) = 0;

 protected:
  ~IAxHostUIHandler() = default;
};

// Registers the host window class once per process. True when it is registered.
bool RegisterAxHostClass(HINSTANCE instance);

// The host's window procedure, for window classes that superclass the host.
LRESULT CALLBACK AxHostWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Access to the control of one host window (a window of the host class or a superclass).
class CAxWindow {
 public:
  explicit CAxWindow(HWND hwnd = nullptr) : m_hWnd(hwnd) {}

  // The hosted control queried for riid. E_FAIL when the window hosts no control.
  HRESULT QueryControl(REFIID riid, void** object) const;
  template <class Q>
  HRESULT QueryControl(Microsoft::WRL::ComPtr<Q>& object) const {
    return QueryControl(__uuidof(Q), reinterpret_cast<void**>(object.ReleaseAndGetAddressOf()));
  }

  // Lets handler answer the control's UI-handler questions; null returns to the host's
  // own answers. The handler must outlive the window or be removed first. E_FAIL when the
  // window is no host window.
  HRESULT SetExternalUIHandler(IAxHostUIHandler* handler) const;

  HWND m_hWnd;
};
