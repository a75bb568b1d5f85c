// The shaped, per-pixel-alpha window behind the login window. It shows the artwork
// around the page, carries the program's taskbar button once shown, lets the player
// drag both windows by the artwork and keeps its follower (the login window) glued to
// its top-left corner. It has no controls and is painted when it is initialised and
// again when it comes on screen.
#pragma once

#include "ui/image.h"
#include "ui/kt_form.h"

class CFormBack : public CKTForm {
 public:
  CFormBack();
  ~CFormBack() override;

  // Any press on a visible pixel of the artwork starts the system's move loop. True.
  bool OnLButtonDown(UINT nFlags, const POINT& pt) override;
  // Brings the follower to this window's client origin, raised, not activated.
  void OnMove() override;
  // The base handling, else DefWindowProcW.
  LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

  // Creates the window of the shared class, frameless but minimizable, layered
  // (topmost when the environment says so), and paints the artwork into it. False when
  // the window could not be made.
  virtual bool Initialize(const FormEnvironment& environment);

  // The window that every move of this one brings along (null: none).
  void SetFollower(HWND follower) { m_hFollower = follower; }

  // Shows the window with a taskbar button, centred in the work area unless
  // keepPosition; topmost when the environment says so. The artwork is painted in again.
  void ShowOnScreen(bool keepPosition);

  // A 32-bit top-down DIB section of the window's size (GetRect) holding the artwork
  // (PNG 170 of instance) premultiplied and cut to that size; transparent where there is
  // no artwork. Null when no bitmap can be made. The caller owns it.
  HBITMAP ComposeArtwork(HINSTANCE instance);

 private:
  void PaintLayered();

  FormEnvironment m_environment;
  HWND m_hFollower = nullptr;
};

// Decodes the background artwork from its resource and premultiplies it, rounding.
// Pictures that do not decode to 32 bits are left as decoded. False when the resource
// cannot be read or decoded.
bool LoadBackgroundImage(HINSTANCE instance, HRSRC resource, CImage& image);
