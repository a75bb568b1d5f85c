#include "web_test_support.h"

namespace {

const wchar_t* ParentClass() {
  static const wchar_t kName[] = L"WebTestParent";
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kName;
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  return kName;
}

}  // namespace

ParentWindow::ParentWindow()
    : hwnd(CreateWindowExW(0, ParentClass(), L"web test", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {}

ParentWindow::~ParentWindow() {
  if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
}

void NotifyRecorder::OnNotify(unsigned id, WebNotifyWParam wParam, WebNotifyLParam lParam) {
  ids.push_back(id);
  wParams.push_back(wParam);
  lParams.push_back(lParam);
  urls.push_back(view ? view->GetUrl() : std::wstring());
  if (id == WEBNOTIFY_TITLECHANGE && lParam != 0)
    titles.emplace_back(reinterpret_cast<const wchar_t*>(lParam));
  if (id == WEBNOTIFY_BEFORENAVIGATE && cancelBeforeNavigate && view)
    view->m_bCancelNavigate = true;
}
