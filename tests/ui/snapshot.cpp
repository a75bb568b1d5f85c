// Paints the toolkit's windows and controls with the program's own pictures and saves
// what they paint as PNG files, for people to look at: tools/snapshot runs it under
// Wine and writes build/win64/snapshots/*.png.
//
//   login.png    the background window's artwork as the desktop shows it, with the
//                login window's controls over it (the page area left as a plain box)
//   game.png     the game window's title strip at 1250 pixels with its buttons
//   buttons.png  every button in each state: normal, hover, pressed, disabled, and the
//                full-screen button toggled; twice the size
//   labels.png   labels: default font, shortened, hover, disabled, the status line
#include <windows.h>
#include <gdiplus.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "support/test_support.h"
#include "ui/form_back.h"
#include "ui/image_ids.h"
#include "ui/kt_button.h"
#include "ui/kt_image.h"
#include "ui/kt_label.h"
#include "ui/picture.h"
#include "ui_fixture.h"

using ui_testing::Canvas;

namespace {

HINSTANCE Self() { return GetModuleHandleW(nullptr); }

bool PngEncoder(CLSID* clsid) {
  UINT count = 0, size = 0;
  Gdiplus::GetImageEncodersSize(&count, &size);
  if (size == 0) return false;
  std::vector<BYTE> buffer(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  Gdiplus::GetImageEncoders(count, size, codecs);
  for (UINT i = 0; i < count; ++i) {
    if (std::wstring(codecs[i].MimeType) == L"image/png") {
      *clsid = codecs[i].Clsid;
      return true;
    }
  }
  return false;
}

// Saves the canvas, scaled by scale with whole pixels.
bool Save(const Canvas& canvas, const std::wstring& path, int scale = 1) {
  Canvas scaled(canvas.width() * scale, canvas.height() * scale);
  StretchBlt(scaled.dc(), 0, 0, scaled.width(), scaled.height(), canvas.dc(), 0, 0, canvas.width(),
             canvas.height(), SRCCOPY);
  GdiFlush();
  CLSID png;
  if (!PngEncoder(&png)) return false;
  Gdiplus::Bitmap bitmap(scaled.bitmap(), nullptr);
  const bool ok = bitmap.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
  std::printf("%ls: %s\n", path.c_str(), ok ? "written" : "FAILED");
  return ok;
}

void Text(HDC dc, int x, int y, const wchar_t* text, COLORREF colour = RGB(226, 234, 240)) {
  SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, colour);
  TextOutW(dc, x, y, text, lstrlenW(text));
}

// A desktop to look through the artwork at: a muted diagonal gradient with a grid.
void PaintDesktop(Canvas& canvas) {
  for (int y = 0; y < canvas.height(); y += 4) {
    const int t = y * 255 / canvas.height();
    HBRUSH brush = CreateSolidBrush(RGB(70 + t / 6, 90 + t / 8, 110 - t / 8));
    RECT r{0, y, canvas.width(), y + 4};
    FillRect(canvas.dc(), &r, brush);
    DeleteObject(brush);
  }
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(110, 125, 140));
  HGDIOBJ old = SelectObject(canvas.dc(), pen);
  for (int x = 0; x < canvas.width(); x += 50) {
    MoveToEx(canvas.dc(), x, 0, nullptr);
    LineTo(canvas.dc(), x, canvas.height());
  }
  for (int y = 0; y < canvas.height(); y += 50) {
    MoveToEx(canvas.dc(), 0, y, nullptr);
    LineTo(canvas.dc(), canvas.width(), y);
  }
  SelectObject(canvas.dc(), old);
  DeleteObject(pen);
}

struct ButtonSpec {
  const wchar_t* name;
  WORD normal, hover;
  RECT rect;
};

// The login window's controls, configured as the login window configures them.
struct LoginControls {
  CKTImage back;
  CKTButton buttons[6];
  CKTLabel status;
};

const ButtonSpec kLoginButtons[] = {
    {L"minimize", IDB_LOGIN_MINIMIZE, IDB_LOGIN_MINIMIZE_HOVER, {1021, 217, 1042, 231}},
    {L"close", IDB_LOGIN_CLOSE, IDB_LOGIN_CLOSE_HOVER, {978, 215, 1002, 238}},
    {L"home", IDB_LOGIN_HOME, IDB_LOGIN_HOME_HOVER, {326, 230, 404, 247}},
    {L"payment", IDB_LOGIN_PAY, IDB_LOGIN_PAY_HOVER, {427, 231, 503, 247}},
    {L"service", IDB_LOGIN_SERVICE, IDB_LOGIN_SERVICE_HOVER, {805, 229, 880, 246}},
    {L"forum", IDB_LOGIN_FORUM, IDB_LOGIN_FORUM_HOVER, {712, 230, 788, 246}},
};

const ButtonSpec kGameButtons[] = {
    {L"close", IDB_GAME_CLOSE, IDB_GAME_CLOSE_HOVER, {1222, 1, 1250, 28}},
    {L"full screen", IDB_GAME_FULLSCREEN, IDB_GAME_FULLSCREEN_HOVER, {1195, 1, 1222, 28}},
    {L"minimize", IDB_GAME_MINIMIZE, IDB_GAME_MINIMIZE_HOVER, {1167, 1, 1195, 28}},
    {L"tray", IDB_GAME_TRAY, IDB_GAME_TRAY_HOVER, {1140, 1, 1167, 28}},
    {L"menu", IDB_GAME_MENU, IDB_GAME_MENU_HOVER, {1082, 5, 1120, 23}},
    {L"service", IDB_GAME_SERVICE, IDB_GAME_SERVICE_HOVER, {1039, 5, 1077, 23}},
    {L"home", IDB_GAME_HOME, IDB_GAME_HOME_HOVER, {996, 5, 1034, 23}},
    {L"forum", IDB_GAME_FORUM, IDB_GAME_FORUM_HOVER, {953, 5, 991, 23}},
    {L"payment", IDB_GAME_PAY, IDB_GAME_PAY_HOVER, {910, 5, 948, 23}},
};

void SnapshotLogin(const std::wstring& dir) {
  CFormBack formBack;
  SetRect(&formBack.m_rcControl, 0, 0, 1100, 800);
  Canvas scene(1100, 800);
  PaintDesktop(scene);
  // The background window: its layered bitmap blended over the desktop.
  const HBITMAP art = formBack.ComposeArtwork(Self());
  {
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, art);
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(scene.dc(), 0, 0, 1100, 800, mem, 0, 0, 1100, 800, blend);
    SelectObject(mem, old);
    DeleteDC(mem);
  }
  DeleteObject(art);

  // The login window above it: everything of the key colour is see-through.
  CKTForm login;
  ui_testing::CreateTestForm(login, 1100, 800);
  auto controls = std::make_unique<LoginControls>();
  controls->back.m_bPng = LoadPngResource(Self(), controls->back.m_image, IDB_LOGIN_BACK);
  controls->back.m_bTransparent = false;
  controls->back.m_rcSlice = RECT{5, 5, 5, 5};
  controls->back.SetRect(RECT{0, 0, 1100, 800});
  login.AddControl(&controls->back);
  for (int i = 0; i < 6; ++i) {
    CKTButton& b = controls->buttons[i];
    b.LoadImages(Self(), kLoginButtons[i].normal, kLoginButtons[i].hover, kLoginButtons[i].hover);
    b.SetRect(kLoginButtons[i].rect);
    login.AddControl(&b);
  }
  controls->buttons[4].SetState(1, false);  // the service link as if the mouse were on it
  Canvas window(1100, 800, RGB(255, 128, 255));
  login.OnPaint(window.dc());
  // The page area, where the browser control sits.
  RECT page{292, 257, 945, 642};
  HBRUSH paper = CreateSolidBrush(RGB(236, 240, 243));
  FillRect(window.dc(), &page, paper);
  DeleteObject(paper);
  Text(window.dc(), 560, 440, L"(login page)", RGB(90, 100, 110));
  TransparentBlt(scene.dc(), 0, 0, 1100, 800, window.dc(), 0, 0, 1100, 800, kColorKey);
  Save(scene, dir + L"login.png");
  DestroyWindow(login.GetHwnd());
}

void SnapshotGame(const std::wstring& dir) {
  CKTForm game;
  ui_testing::CreateTestForm(game, 1250, 60);
  CKTImage strip, logo;
  strip.m_bPng = LoadPngResource(Self(), strip.m_image, IDB_GAME_TITLE);
  strip.SetRect(RECT{0, 0, 1250, strip.GetImageHeight()});
  game.AddControl(&strip);
  std::vector<std::unique_ptr<CKTButton>> buttons;
  for (const ButtonSpec& spec : kGameButtons) {
    buttons.push_back(std::make_unique<CKTButton>());
    buttons.back()->LoadImages(Self(), spec.normal, spec.hover, spec.hover);
    buttons.back()->SetRect(spec.rect);
    game.AddControl(buttons.back().get());
  }
  buttons[5]->SetState(1, false);  // service under the mouse
  logo.m_bPng = LoadPngResource(Self(), logo.m_image, IDB_GAME_ICON);
  logo.SetRect(RECT{5, 2, 30, 25});
  game.AddControl(&logo);
  CKTLabel title;
  game.AddControl(&title);
  title.SetText(L"Morvessa", false);
  title.SetTextColor(RGB(255, 255, 0), false);
  title.SetRect(RECT{40, 5, 340, 25});
  Canvas canvas(1250, 60, RGB(236, 240, 243));
  game.OnPaint(canvas.dc());
  Text(canvas.dc(), 560, 36, L"(game page)", RGB(90, 100, 110));
  Save(canvas, dir + L"game.png");
  DestroyWindow(game.GetHwnd());
}

void SnapshotButtons(const std::wstring& dir) {
  const int rowHeight = 34, nameWidth = 110, cell = 90;
  Canvas canvas(nameWidth + 4 * 150 + 10, 24 + 16 * rowHeight + 3 * 56 + 10, RGB(6, 22, 30));
  CImage strip;
  LoadPngResource(Self(), strip, IDB_GAME_TITLE);
  const wchar_t* heads[] = {L"normal",   L"hover",   L"pressed",
                            L"disabled", L"toggled", L"tog. hover"};
  for (int c = 0; c < 6; ++c) Text(canvas.dc(), nameWidth + c * cell + 4, 4, heads[c]);
  CKTForm host;
  ui_testing::CreateTestForm(host, canvas.width(), canvas.height());

  struct Row {
    const wchar_t* name;
    WORD normal, hover;
    bool onStrip;
    int width, height;
  };
  std::vector<Row> list;
  for (const ButtonSpec& s : kLoginButtons)
    list.push_back({s.name, s.normal, s.hover, false, 0, 0});
  for (const ButtonSpec& s : kGameButtons) list.push_back({s.name, s.normal, s.hover, true, 0, 0});
  list.push_back({L"popup close", IDB_OAUTH_CLOSE, IDB_OAUTH_CLOSE_HOVER, true, 0, 0});
  list.push_back({L"enter game", IDB_ENTER_GAME, IDB_ENTER_GAME_HOVER, false, 0, 0});
  list.push_back({L"start game", IDB_START_GAME, IDB_START_GAME_HOVER, false, 0, 0});
  list.push_back({L"key tile 220", IDB_KEY_TILE, IDB_KEY_TILE, false, 0, 0});

  for (size_t r = 0; r < list.size(); ++r) {
    const int top = 24 + static_cast<int>(r) * rowHeight;
    int y = top;
    if (r >= 16) y = 24 + 16 * rowHeight + static_cast<int>(r - 16) * 56;  // the big ones
    Text(canvas.dc(), 6, y + 6, list[r].name);
    for (int c = 0; c < 6; ++c) {
      const bool fullScreen = list[r].normal == IDB_GAME_FULLSCREEN;
      if (c >= 4 && !fullScreen) continue;
      CKTButton button;
      button.LoadImages(Self(), list[r].normal, list[r].hover, list[r].hover);
      if (fullScreen) {
        LoadPngResource(Self(), button.m_imgToggledNormal, IDB_GAME_WINDOWED);
        LoadPngResource(Self(), button.m_imgToggledHover, IDB_GAME_WINDOWED_HOVER);
        LoadPngResource(Self(), button.m_imgToggledPressed, IDB_GAME_WINDOWED_HOVER);
      }
      const int w = button.GetImageWidth(), h = button.GetImageHeight();
      const int x = nameWidth + c * (r >= 16 ? 150 : cell);
      RECT backing{x, y, x + (w > cell - 10 ? w + 8 : cell - 6), y + (h > 27 ? h : 28)};
      if (list[r].onStrip) {
        strip.StretchBlt(canvas.dc(), backing.left, backing.top, backing.right - backing.left, 27,
                         0, 0, cell - 6, 27);
      } else {
        HBRUSH band = CreateSolidBrush(
            list[r].normal >= IDB_ENTER_GAME && list[r].normal != IDB_LOGIN_PAY &&
                    list[r].normal != IDB_LOGIN_PAY_HOVER && list[r].normal != IDB_LOGIN_SERVICE
                ? RGB(12, 46, 58)
                : RGB(16, 64, 78));
        FillRect(canvas.dc(), &backing, band);
        DeleteObject(band);
      }
      const int offset = list[r].onStrip && h < 27 ? 5 : 1;
      button.SetRect(RECT{x + 4, y + offset, x + 4 + w, y + offset + h});
      host.AddControl(&button);
      if (c == 1) button.SetState(1, false);
      if (c == 2) button.SetState(2, false);
      if (c == 3) button.SetEnabled(false, false);
      if (c == 4) button.SetToggled(true);
      if (c == 5) {
        button.SetToggled(true);
        button.SetState(1, false);
      }
      button.OnPaint(canvas.dc());
      host.RemoveControl(&button);
    }
  }
  Save(canvas, dir + L"buttons.png", 2);
  DestroyWindow(host.GetHwnd());
}

void SnapshotLabels(const std::wstring& dir) {
  Canvas canvas(560, 260, RGB(12, 46, 58));
  CKTForm host;
  ui_testing::CreateTestForm(host, canvas.width(), canvas.height());
  const COLORREF silver = RGB(226, 234, 240), gold = RGB(232, 178, 72);
  int y = 8;
  auto row = [&](const wchar_t* caption, CKTLabel& label, int width = 0) {
    Text(canvas.dc(), 8, y + 4, caption, RGB(140, 170, 180));
    const RECT rect{200, y, width > 0 ? 200 + width : 201, y + 30};
    if (width > 0) {
      label.SetAutoWidth(false, 0);
      HBRUSH frame = CreateSolidBrush(RGB(24, 96, 112));
      FrameRect(canvas.dc(), &rect, frame);
      DeleteObject(frame);
    }
    label.SetRect(rect);
    label.OnPaint(canvas.dc());
    y += 36;
  };
  CKTLabel plain, shortened, yahei, hover, disabled, status;
  for (CKTLabel* l : {&plain, &shortened, &yahei, &hover, &disabled, &status}) host.AddControl(l);
  plain.SetText(L"宋体 12: Morvessa 星月之境", false);
  plain.SetTextColor(silver, false);
  row(L"default font", plain);
  shortened.SetText(L"一段很长的标题文字 that does not fit at all", false);
  shortened.SetTextColor(silver, false);
  row(L"100 px, shortened", shortened, 100);
  yahei.SetFontName(L"微软雅黑", false);
  yahei.SetFontSize(20, 0, false);
  yahei.SetBold(true, false);
  yahei.SetText(L"微软雅黑 20 → 15, bold", false);
  yahei.SetTextColor(gold, false);
  row(L"yahei, bold", yahei);
  hover.SetHoverColors(silver, gold, false);
  hover.SetHoverUnderline(false, true, false);
  hover.SetText(L"官方网站 (hovered)", false);
  hover.SetRect(RECT{200, y, 400, y + 30});
  hover.OnMouseMove(0, POINT{205, y + 5});
  row(L"hover colours", hover);
  disabled.SetText(L"不可用 disabled", false);
  disabled.SetEnabled(false, false);
  row(L"disabled", disabled);
  status.SetTextColor(RGB(255, 255, 0), false);
  status.SetUnderline(true, false);
  status.SetFontSize(26, 0, false);
  status.SetText(L"检测到您的网络异常，点击这里重试！", false);
  row(L"status line", status);
  // A captioned button keeping its last characters when shortened.
  CKTButton button;
  host.AddControl(&button);
  button.LoadImages(Self(), IDB_GAME_TITLE, IDB_GAME_TITLE, IDB_GAME_TITLE);
  button.SetRect(RECT{200, y, 334, y + 27});
  button.m_rcTextMargin = RECT{6, 0, 6, 0};
  button.SetTextColor(silver, false);
  button.SetKeepChars(2);
  button.SetFontSize(16, 0, false);
  button.SetText(L"服务器选择 S128", false);
  Text(canvas.dc(), 8, y + 14, L"caption, keeps 2", RGB(140, 170, 180));
  button.OnPaint(canvas.dc());
  Save(canvas, dir + L"labels.png", 2);
  DestroyWindow(host.GetHwnd());
}

}  // namespace

// The faces the toolkit asks for are not in a fresh Wine prefix, and Wine's fallback
// has no Chinese glyphs; Wine reads its font replacements when a process starts, so
// the first run writes them and paints in a second process.
bool AddFontReplacements() {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Fonts\\Replacements", 0, nullptr, 0,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  bool added = false;
  static const wchar_t kCjk[] = L"WenQuanYi Micro Hei";
  for (const wchar_t* face : {L"宋体", L"微软雅黑", L"SimSun", L"Microsoft YaHei"}) {
    if (RegQueryValueExW(key, face, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) continue;
    RegSetValueExW(key, face, 0, REG_SZ, reinterpret_cast<const BYTE*>(kCjk), sizeof(kCjk));
    added = true;
  }
  RegCloseKey(key);
  return added;
}

int RunAgain() {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  std::wstring command = GetCommandLineW();
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return 1;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

int wmain(int argc, wchar_t** argv) {
  if (AddFontReplacements()) return RunAgain();
  std::wstring dir = argc > 1 ? argv[1] : testing_support::ExeDir();
  if (!dir.empty() && dir.back() != L'\\' && dir.back() != L'/') dir += L'\\';
  CreateDirectoryW(dir.c_str(), nullptr);
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  SnapshotLogin(dir);
  SnapshotGame(dir);
  SnapshotButtons(dir);
  SnapshotLabels(dir);
  return 0;
}
