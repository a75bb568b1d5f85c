// The one message loop of the user-interface thread, with a pre-translate hook.
#pragma once

#include <windows.h>

#include <vector>

// A chance to consume a message before it is translated and dispatched.
class CMessageFilter {
 public:
  // TRUE consumes the message. Runs on the loop's thread.
  virtual BOOL PreTranslateMessage(MSG* msg) = 0;
  // After each message the loop took has been handled (dispatched or consumed): no
  // window procedure of the loop's thread is running then, so objects that windows
  // forgot can go. Nothing by default.
  virtual void AfterMessage() {}

 protected:
  ~CMessageFilter() = default;
};

class CMessageLoop {
 public:
  void AddMessageFilter(CMessageFilter* filter);
  bool RemoveMessageFilter(CMessageFilter* filter);

  // Runs until WM_QUIT and returns its wParam. A GetMessageW error (-1) is skipped.
  // Filters are asked last added first; the first TRUE consumes the message. Every filter
  // hears AfterMessage once the message has been handled.
  int Run();

 private:
  bool PreTranslate(MSG* msg);

  std::vector<CMessageFilter*> m_filters;
};
