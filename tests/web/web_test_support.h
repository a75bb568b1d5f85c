// Pieces the browser view tests share: an OLE apartment per test, a plain parent window
// and a handler that records every notification a view raises.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/kt_form.h"
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

// The program's window class as the page windows see it: every message of a routed
// form's window goes to that form's WindowProc, whose answer is returned (the forms do
// their own default processing); windows of no routed form, and every form's window
// while it is being created, get DefWindowProcW. One object per test.
class FormsClass {
 public:
  FormsClass();
  ~FormsClass();
  FormsClass(const FormsClass&) = delete;
  FormsClass& operator=(const FormsClass&) = delete;

  // What the forms under test are made with: this program, this class, the program's
  // window name, not topmost.
  static FormEnvironment Environment();
  // Routes form's window (once it exists) to form.
  void Route(CKTForm& form) { m_forms.push_back(&form); }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  std::vector<CKTForm*> m_forms;
};
