// The shaped, per-pixel-alpha window behind the login window; it carries the taskbar
// button and drags the login window along.
#pragma once

#include "ui/kt_form.h"

class CFormBack : public CKTForm {
 public:
  // Creates the window. Its layered artwork, styles and drag arrive with the toolkit.
  bool Initialize();
};
