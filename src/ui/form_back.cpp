#include "ui/form_back.h"

#include "app/global_module.h"
#include "ui/image_ids.h"
#include "ui/picture.h"
#include "ui/premultiply.h"

namespace {

// No popup frame, border or size box, but a system menu and minimize box: no caption,
// yet minimizable and restorable from the taskbar.
constexpr LONG_PTR kStyleKeep = 0x7F30FF7F;
constexpr LONG_PTR kStyleAdd = WS_SYSMENU | WS_MINIMIZEBOX;  // 0x000A0000
// WS_EX_DLGMODALFRAME, WS_EX_TOOLWINDOW and WS_EX_WINDOWEDGE.
constexpr LONG_PTR kExStyleDrop = 0x181;
constexpr WPARAM kMoveByCaption = 0xF012;  // SC_MOVE | HTCAPTION

// A device context of the screen for the length of a paint.
class ScreenDC {
 public:
  explicit ScreenDC(HWND window) : m_window(window), m_dc(GetDC(window)) {}
  ~ScreenDC() {
    if (m_dc != nullptr) ReleaseDC(m_window, m_dc);
  }
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
  HDC get() const { return m_dc; }

 private:
  HWND m_window;
  HDC m_dc;
};

// A memory device context with a bitmap selected, deselected and deleted at the end.
class MemoryDC {
 public:
  explicit MemoryDC(HBITMAP bitmap) : m_dc(CreateCompatibleDC(nullptr)) {
    if (m_dc != nullptr) m_old = SelectObject(m_dc, bitmap);
  }
  ~MemoryDC() {
    if (m_dc == nullptr) return;
    SelectObject(m_dc, m_old);
    DeleteDC(m_dc);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC get() const { return m_dc; }

 private:
  HDC m_dc;
  HGDIOBJ m_old = nullptr;
};


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
  POINT origin{0, 0};
  ClientToScreen(GetHwnd(), &origin);
  SetWindowPos(App().formLogin.GetHwnd(), nullptr, origin.x, origin.y, 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT CFormBack::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (CKTForm::WindowProc(hwnd, msg, wParam, lParam) != 0)
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  return 0;
}

bool CFormBack::Initialize() {
  CGlobalModule& app = App();
  Create(app.windowClassName, app.windowTitle, app.instance, nullptr);
  const HWND window = GetHwnd();
  LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  SetWindowLongPtrW(window, GWL_STYLE, (style & kStyleKeep) | kStyleAdd);
  LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  exStyle = (exStyle & ~kExStyleDrop) | WS_EX_LAYERED;
  if (app.topMost == 1) exStyle |= WS_EX_TOPMOST;
  SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle);
  // The extended-style bit alone does not change the window's z-order band.
  if (app.topMost == 1)
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  PaintLayered();
  return true;
}

HBITMAP CFormBack::ComposeArtwork() {
  const RECT bounds = GetRect();
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  if (width <= 0 || height <= 0) return nullptr;
  // A 32-bit DIB keeps its alpha bytes whatever the display depth, which a bitmap
  // compatible with a 16- or 24-bit screen would not.
  const HBITMAP bitmap = CreateArgbBitmap(width, height);
  if (bitmap == nullptr) return nullptr;
  const HINSTANCE instance = App().instance;
  const HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(IDB_BACK_FRAME), L"PNG");
  if (resource != nullptr) {
    CImage artwork;
    if (LoadBackgroundImage(instance, resource, artwork)) {
      MemoryDC mem(bitmap);
      // Only the top-left part of the larger artwork fits.
      if (mem.get() != nullptr) artwork.Draw(mem.get(), 0, 0);
    }
  }
  return bitmap;
}

void CFormBack::PaintLayered() {
  const HWND window = GetHwnd();
  const RECT bounds = GetRect();
  SIZE size{bounds.right - bounds.left, bounds.bottom - bounds.top};
  const HBITMAP bitmap = ComposeArtwork();
  if (bitmap == nullptr) return;
  {
    ScreenDC screen(window);
    MemoryDC mem(bitmap);
    POINT source{0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(window, screen.get(), nullptr, &size, mem.get(), &source, 0, &blend,
                        ULW_ALPHA);
  }
  DeleteObject(bitmap);
}

void CFormBack::ShowOnScreen(bool keepPosition) {
  const HWND window = GetHwnd();
  const bool topMost = App().topMost == 1;
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
