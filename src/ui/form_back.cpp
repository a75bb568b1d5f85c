#include "ui/form_back.h"

#include "ui/gdi.h"
#include "ui/image_ids.h"
#include "ui/picture.h"
#include "ui/premultiply.h"
#include "ui/window_styles.h"

namespace {

constexpr WPARAM kMoveByCaption = 0xF012;  // SC_MOVE | HTCAPTION

}  // namespace

bool LoadBackgroundImage(HINSTANCE instance, HRSRC resource, CImage& image) {
  if (FAILED(DecodeResource(instance, resource, image)) || image.IsNull()) return false;
  // Only a 32-bit picture has the four bytes per pixel the loop walks.
  if (image.GetBPP() == 32) {
    PremultiplyPixels(image.GetBits(), image.GetWidth(), image.GetHeight(), image.GetPitch(),
                      ClearRect{0, 0, 0, 0}, AlphaRounding::kRound);
  }
  return true;
}

CFormBack::CFormBack() = default;
CFormBack::~CFormBack() = default;

bool CFormBack::OnLButtonDown(UINT, const POINT&) {
  SendMessageW(GetHwnd(), WM_SYSCOMMAND, kMoveByCaption, 0);
  return true;
}

void CFormBack::OnMove() {
  if (m_hFollower == nullptr) return;
  POINT origin{0, 0};
  ClientToScreen(GetHwnd(), &origin);
  SetWindowPos(m_hFollower, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT CFormBack::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (CKTForm::WindowProc(hwnd, msg, wParam, lParam) != 0)
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  return 0;
}

bool CFormBack::Initialize(const FormEnvironment& environment) {
  m_environment = environment;
  if (!Create(environment.className, environment.windowTitle, environment.instance, nullptr))
    return false;
  const HWND window = GetHwnd();
  RestyleWindow(window, kFramelessStyleKeep);
  LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  exStyle = (exStyle & ~kFrameExStyles) | WS_EX_LAYERED;
  if (environment.topMost) exStyle |= WS_EX_TOPMOST;
  SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle);
  // The extended-style bit alone does not change the window's z-order band.
  if (environment.topMost)
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  PaintLayered();
  return true;
}

HBITMAP CFormBack::ComposeArtwork(HINSTANCE instance) {
  const RECT bounds = GetRect();
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  if (width <= 0 || height <= 0) return nullptr;
  // A 32-bit DIB keeps its alpha bytes whatever the display depth, which a bitmap
  // compatible with a 16- or 24-bit screen would not.
  const HBITMAP bitmap = CreateArgbBitmap(width, height);
  if (bitmap == nullptr) return nullptr;
  const HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(IDB_BACK_FRAME), L"PNG");
  if (resource != nullptr) {
    CImage artwork;
    if (LoadBackgroundImage(instance, resource, artwork)) {
      CMemoryDC mem;
      const CSelectedObject selection(mem.get(), bitmap);
      // Only the top-left part of the larger artwork fits.
      if (selection.selected()) artwork.Draw(mem.get(), 0, 0);
    }
  }
  return bitmap;
}

void CFormBack::PaintLayered() {
  const HWND window = GetHwnd();
  const RECT bounds = GetRect();
  SIZE size{bounds.right - bounds.left, bounds.bottom - bounds.top};
  const HBITMAP bitmap = ComposeArtwork(m_environment.instance);
  if (bitmap == nullptr) return;
  {
    const CWindowDC screen(window);
    CMemoryDC mem;
    const CSelectedObject selection(mem.get(), bitmap);
    POINT source{0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(window, screen.get(), nullptr, &size, mem.get(), &source, 0, &blend,
                        ULW_ALPHA);
  }
  DeleteObject(bitmap);
}

void CFormBack::ShowOnScreen(bool keepPosition) {
  const HWND window = GetHwnd();
  const bool topMost = m_environment.topMost;
  SetTaskbarButton(window, true, topMost);
  const POINT origin = CentreInWorkArea(window);
  UINT flags = SWP_SHOWWINDOW | SWP_NOREDRAW | SWP_NOSIZE;
  if (keepPosition) flags |= SWP_NOMOVE;
  SetWindowPos(window, topMost ? HWND_TOPMOST : HWND_TOP, origin.x, origin.y, 0, 0, flags);
  ShowWindow(window, SW_SHOWNORMAL);
  // Painted once while parked off-screen, where Wine keeps no pixels of a layered
  // window: the artwork is put in again now that the window is in sight.
  PaintLayered();
}
