#include "ui/kt_form.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/placement.h"

namespace {

constexpr wchar_t kGameTitle[] = L"Morvessa";
constexpr DWORD kHoverTimeMs = 300;

// The product's mouse-tracking request is the 16-byte 32-bit structure.
static_assert(sizeof(void*) != 4 || sizeof(TRACKMOUSEEVENT) == 16, "TRACKMOUSEEVENT layout");

// Client mouse messages carry the point as two unsigned 16-bit halves.
POINT ClientPoint(LPARAM lParam) {
  return POINT{static_cast<LONG>(LOWORD(lParam)), static_cast<LONG>(HIWORD(lParam))};
}

}  // namespace

CKTForm::CKTForm() : m_bTracking(false), m_bHoverSeen(false), m_hWndForm(nullptr) {}

// The controls are members of the concrete window; they are only forgotten here.
CKTForm::~CKTForm() { m_controls.clear(); }

bool CKTForm::OnLButtonDown(UINT, const POINT&) {
  SetFocus(GetHwnd());
  return true;
}

bool CKTForm::OnMouseMove(UINT nFlags, const POINT& pt) {
  TrackMouse();
  for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it)
    if (!(*it)->HitTest(pt)) (*it)->OnMouseMove(nFlags, pt);
  CKTBaseControl* control = ControlAt(pt);
  return control != nullptr && control->OnMouseMove(nFlags, pt);
}

bool CKTForm::OnMouseWheel(UINT nFlags, const POINT& pt) {
  CKTBaseControl* control = ControlAt(pt);
  return control != nullptr && control->OnMouseWheel(nFlags, pt);
}

void CKTForm::OnPaint(HDC hdc) {
  for (CKTBaseControl* control : m_controls) control->OnPaint(hdc);
}

void CKTForm::Relayout(const POINT* offset) {
  for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it) (*it)->Relayout(offset);
}

bool CKTForm::AddControl(CKTBaseControl* control) {
  if (control == nullptr) return false;
  control->m_hWnd = m_hWndForm;
  control->SetOwner(this);
  m_controls.push_back(control);
  return true;
}

bool CKTForm::RemoveControl(CKTBaseControl* control) {
  const auto it = std::find(m_controls.begin(), m_controls.end(), control);
  if (it == m_controls.end()) return false;
  m_controls.erase(it);
  return true;
}

bool CKTForm::OnMouseLeave(UINT nFlags, const POINT& pt) {
  // Marked as tracking so that the move below does not ask for tracking again.
  m_bTracking = true;
  OnMouseMove(nFlags, pt);
  m_bTracking = false;
  return true;
}

bool CKTForm::OnMouseHover(UINT, const POINT&) {
  m_bHoverSeen = true;
  return true;
}

void CKTForm::OnSize() {
  Relayout(nullptr);
  UpdateRegion();
}

void CKTForm::OnMove() {}
void CKTForm::OnActivate() {}

void CKTForm::TrackMouse() {
  if (m_bTracking && !m_bHoverSeen) return;
  TRACKMOUSEEVENT request = {};
  request.cbSize = sizeof(request);
  request.dwFlags = TME_HOVER | TME_LEAVE;
  request.hwndTrack = m_hWndForm;
  request.dwHoverTime = kHoverTimeMs;
  _TrackMouseEvent(&request);
  m_bTracking = true;
  m_bHoverSeen = false;
}

LRESULT CKTForm::SysCommand(int code, HWND target) {
  if (target == nullptr) target = GetHwnd();
  BOOL fullDrag = FALSE;
  SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &fullDrag, 0);
  // The system's move and size loops are drawn as outlines, so the skinned window is
  // not repainted at every step.
  if (fullDrag) SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, FALSE, nullptr, 0);
  const LRESULT result = SendMessageW(target, WM_SYSCOMMAND, static_cast<WPARAM>(0xF000 + code), 0);
  if (fullDrag) return SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
  return result;
}

bool CKTForm::Create(const wchar_t* className, const wchar_t* windowName, HINSTANCE instance,
                     HWND parent) {
  if (m_hWndForm != nullptr) return true;
  m_hWndForm =
      CreateWindowExW(0, className, windowName, WS_POPUP, m_rcControl.left, m_rcControl.top,
                      m_rcControl.right, m_rcControl.bottom, parent, nullptr, instance, nullptr);
  if (m_hWndForm != nullptr) SetWindowTextW(m_hWndForm, kGameTitle);
  return m_hWndForm != nullptr;
}

bool CKTForm::ShowCentered(int showCommand) {
  const HWND window = GetHwnd();
  if (window == nullptr) return false;
  const POINT origin = CentreInWorkArea(window);
  SetWindowPos(window, HWND_TOP, origin.x, origin.y, 0, 0, SWP_SHOWWINDOW | SWP_NOSIZE);
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  return true;
}

void CKTForm::Hide() { ShowWindow(GetHwnd(), SW_HIDE); }
void CKTForm::Minimize() { ShowWindow(GetHwnd(), SW_MINIMIZE); }

void CKTForm::Restore() {
  const HWND window = GetHwnd();
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  ShowWindow(window, SW_SHOW);
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(window);
}

bool CKTForm::Close() {
  if (m_hWnd != nullptr) SetFocus(m_hWnd);
  if (m_hWndForm != nullptr) DestroyWindow(m_hWndForm);
  return true;
}

void CKTForm::InvalidateControls(bool markedOnly) {
  for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it)
    if (!markedOnly || (*it)->m_bMarked) (*it)->Invalidate();
}

void CKTForm::ReservedNotify() {}

HWND CKTForm::GetHwnd() { return m_hWndForm; }

LRESULT CKTForm::WindowProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
  const UINT flags = static_cast<UINT>(wParam);
  switch (msg) {
    case WM_MOVE:
      OnMove();
      return 0;
    case WM_SIZE:
      OnSize();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) OnActivate();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint = {};
      const HDC dc = BeginPaint(GetHwnd(), &paint);
      if (dc != nullptr) OnPaint(dc);
      EndPaint(GetHwnd(), &paint);
      return 0;
    }
    case WM_CLOSE:
      Close();
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(flags, ClientPoint(lParam));
      return 0;
    case WM_LBUTTONDOWN:
      OnLButtonDown(flags, ClientPoint(lParam));
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp(flags, ClientPoint(lParam));
      return 0;
    case WM_LBUTTONDBLCLK:
      OnLButtonDblClk(flags, ClientPoint(lParam));
      return 0;
    case WM_MOUSEWHEEL: {
      // Screen coordinates, which are negative on a monitor left of or above the
      // primary one: taken signed.
      POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ScreenToClient(GetHwnd(), &pt);
      OnMouseWheel(flags, pt);
      return 0;
    }
    case WM_MOUSEHOVER:
      OnMouseHover(flags, ClientPoint(lParam));
      return 0;
    case WM_MOUSELEAVE:
      OnMouseLeave(flags, ClientPoint(lParam));
      return 0;
    default:
      return 1;
  }
}

BOOL CKTForm::PreTranslateMessage(MSG*) { return TRUE; }

CKTBaseControl* CKTForm::ControlAt(const POINT& pt) {
  for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it)
    if ((*it)->HitTest(pt)) return *it;
  return nullptr;
}

void CKTForm::UpdateRegion() {
  RECT client = {};
  GetClientRect(GetHwnd(), &client);
  const HRGN region = CreateRoundRectRgn(0, 0, client.right + 1, client.bottom + 1, 0, 0);
  // The window owns the region once it is set; on failure it is still ours.
  if (region != nullptr && SetWindowRgn(GetHwnd(), region, TRUE) == 0) DeleteObject(region);
}

void SetTaskbarButton(HWND window, bool onTaskbar, bool topMost) {
  LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
  const LONG_PTR clear = onTaskbar ? WS_EX_TOOLWINDOW : WS_EX_APPWINDOW;
  const LONG_PTR set = onTaskbar ? WS_EX_APPWINDOW : WS_EX_TOOLWINDOW;
  style = (style & ~clear) | set;
  if (topMost) style |= WS_EX_TOPMOST;
  SetWindowLongPtrW(window, GWL_EXSTYLE, style);
}

POINT CentreInWorkArea(HWND window) {
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT client = {};
  GetClientRect(window, &client);
  return CenteredOrigin(work, client);
}

void ShowOffscreen(CKTForm& form, bool topMost) {
  const HWND window = form.GetHwnd();
  SetTaskbarButton(window, false, false);
  const HWND order = topMost ? HWND_TOPMOST : HWND_TOP;
  SetWindowPos(window, order, -2000, -2000, 0, 0, SWP_SHOWWINDOW | SWP_NOSIZE);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
}
