#include "app/message_loop.h"

#include <algorithm>

void CMessageLoop::AddMessageFilter(CMessageFilter* filter) { m_filters.push_back(filter); }

bool CMessageLoop::RemoveMessageFilter(CMessageFilter* filter) {
  const auto found = std::find(m_filters.begin(), m_filters.end(), filter);
  if (found == m_filters.end()) return false;
  m_filters.erase(found);
  return true;
}

bool CMessageLoop::PreTranslate(MSG* msg) {
  for (auto filter = m_filters.rbegin(); filter != m_filters.rend(); ++filter)
    if ((*filter)->PreTranslateMessage(msg)) return true;
  return false;
}

int CMessageLoop::Run() {
  MSG msg = {};
  for (;;) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) continue;
    if (got == 0) break;
    if (!PreTranslate(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    // A copy: a filter may remove itself.
    const std::vector<CMessageFilter*> filters = m_filters;
    for (CMessageFilter* filter : filters) filter->AfterMessage();
  }
  return static_cast<int>(msg.wParam);
}
