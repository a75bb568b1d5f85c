// Paint cost of the login window: one full paint of a 1100 x 800 form with the login
// background picture (sliced 5, 5, 5, 5) and its six buttons, against the floor of a
// BitBlt of a ready 1100 x 800 bitmap onto the same device context. Prints the
// benchmark lines "name: value" (tools/bench.d/30-paint).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "ui/image_ids.h"
#include "ui/kt_button.h"
#include "ui/kt_image.h"
#include "ui/picture.h"
#include "ui_fixture.h"

namespace {

HINSTANCE Self() { return GetModuleHandleW(nullptr); }

template <typename F>
double MedianMs(int rounds, F&& run) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    QueryPerformanceCounter(&start);
    run();
    GdiFlush();
    QueryPerformanceCounter(&end);
    times.push_back(1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int wmain() {
  CKTForm form;
  if (!ui_testing::CreateTestForm(form, 1100, 800)) return 1;
  CKTImage back;
  back.m_bPng = LoadPngResource(Self(), back.m_image, IDB_LOGIN_BACK);
  back.m_bTransparent = false;
  back.m_rcSlice = RECT{5, 5, 5, 5};
  back.SetRect(RECT{0, 0, 1100, 800});
  form.AddControl(&back);
  struct Spec {
    WORD normal, hover;
    RECT rect;
  };
  const Spec specs[] = {
      {IDB_LOGIN_MINIMIZE, IDB_LOGIN_MINIMIZE_HOVER, {1021, 217, 1042, 231}},
      {IDB_LOGIN_CLOSE, IDB_LOGIN_CLOSE_HOVER, {978, 215, 1002, 238}},
      {IDB_LOGIN_HOME, IDB_LOGIN_HOME_HOVER, {326, 230, 404, 247}},
      {IDB_LOGIN_PAY, IDB_LOGIN_PAY_HOVER, {427, 231, 503, 247}},
      {IDB_LOGIN_SERVICE, IDB_LOGIN_SERVICE_HOVER, {805, 229, 880, 246}},
      {IDB_LOGIN_FORUM, IDB_LOGIN_FORUM_HOVER, {712, 230, 788, 246}},
  };
  CKTButton buttons[6];
  for (int i = 0; i < 6; ++i) {
    buttons[i].LoadImages(Self(), specs[i].normal, specs[i].hover, specs[i].hover);
    buttons[i].SetRect(specs[i].rect);
    form.AddControl(&buttons[i]);
  }
  const HWND window = form.GetHwnd();
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
  UpdateWindow(window);
  const HDC dc = GetDC(window);

  // The floor: a ready bitmap of the same size, compatible with the window's DC.
  const HDC ready = CreateCompatibleDC(dc);
  const HBITMAP bitmap = CreateCompatibleBitmap(dc, 1100, 800);
  const HGDIOBJ old = SelectObject(ready, bitmap);
  form.OnPaint(ready);

  const int rounds = 200;
  MedianMs(5, [&] { form.OnPaint(dc); });  // warm-up
  const double paint = MedianMs(rounds, [&] { form.OnPaint(dc); });
  MedianMs(5, [&] { BitBlt(dc, 0, 0, 1100, 800, ready, 0, 0, SRCCOPY); });
  const double blit = MedianMs(rounds, [&] { BitBlt(dc, 0, 0, 1100, 800, ready, 0, 0, SRCCOPY); });

  std::printf("login_paint_ms: %.3f\n", paint);
  std::printf("blit_floor_ms: %.3f\n", blit);
  std::printf("paint_ratio_vs_blit: %.2f\n", blit > 0 ? paint / blit : 0.0);

  SelectObject(ready, old);
  DeleteObject(bitmap);
  DeleteDC(ready);
  ReleaseDC(window, dc);
  DestroyWindow(window);
  return 0;
}
