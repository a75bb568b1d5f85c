// Pieces the browser view tests share: an OLE apartment per test, a plain parent window
// and a handler that records every notification a view raises.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "web/browser_view.h"

// OleInitialize for the life of the object (this thread becomes an STA).
class OleApartment {
 public:
  OleApartment() : hr(OleInitialize(nullptr)) {}
  ~OleApartment() {
    if (SUCCEEDED(hr)) OleUninitialize();
  }
  OleApartment(const OleApartment&) = delete;
  OleApartment& operator=(const OleApartment&) = delete;
  HRESULT hr;
};

// A hidden top-level window with default processing, destroyed with the object. Hidden,
// because unmapping a shown window makes Wine wait for a window manager Xvfb lacks.
class ParentWindow {
 public:
  ParentWindow();
  ~ParentWindow();
  ParentWindow(const ParentWindow&) = delete;
  ParentWindow& operator=(const ParentWindow&) = delete;
  HWND hwnd;
};

// The form's side: records each notification with the view's URL at that moment, and
// may cancel during WEBNOTIFY_BEFORENAVIGATE like the login window does.
struct NotifyRecorder {
  void OnNotify(unsigned id, WebNotifyWParam wParam, WebNotifyLParam lParam);

  CBrowserView* view = nullptr;
  bool cancelBeforeNavigate = false;
  std::vector<unsigned> ids;
  std::vector<std::wstring> urls;
  std::vector<std::wstring> titles;
  std::vector<WebNotifyLParam> lParams;
  std::vector<WebNotifyWParam> wParams;
};
