#include "ui/form_back.h"

#include "app/global_module.h"

bool CFormBack::Initialize() {
  CGlobalModule& app = App();
  return Create(app.windowClassName, app.windowTitle, app.instance, nullptr);
}
