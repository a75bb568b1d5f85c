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

namespace {

FormsClass* g_forms = nullptr;
constexpr wchar_t kFormsClassName[] = L"OvrinWebTestForms";

}  // namespace

FormsClass::FormsClass() {
  g_forms = this;
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = &FormsClass::Procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kFormsClassName;
  RegisterClassExW(&windowClass);  // a second registration fails harmlessly
}

FormsClass::~FormsClass() {
  if (g_forms == this) g_forms = nullptr;
}

FormEnvironment FormsClass::Environment() {
  FormEnvironment environment;
  environment.instance = GetModuleHandleW(nullptr);
  environment.className = kFormsClassName;
  environment.windowTitle = L"LireloDrelkin";
  return environment;
}

LRESULT CALLBACK FormsClass::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_forms != nullptr)
    for (CKTForm* form : g_forms->m_forms)
      if (form->GetHwnd() == window) return form->WindowProc(window, message, wParam, lParam);
  return DefWindowProcW(window, message, wParam, lParam);
}
