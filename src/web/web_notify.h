// The notification channel from a browser view to the form that owns it: numbered
// notifications with two arguments, delivered to member functions the form registers.
// The view never knows the form's type; the form implements no COM interface.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

// The closed list of notification ids. lParam is the raising view unless said otherwise.
inline constexpr unsigned WEBNOTIFY_DOCUMENTCOMPLETE = 0;  // top frame's document complete
inline constexpr unsigned WEBNOTIFY_NAVIGATEERROR = 1;     // error page suppressed
inline constexpr unsigned WEBNOTIFY_GETEXTERNAL = 2;       // wParam: address of an IDispatch*
inline constexpr unsigned WEBNOTIFY_BEFORENAVIGATE = 7;    // handler may set m_bCancelNavigate
inline constexpr unsigned WEBNOTIFY_NAVIGATECOMPLETE = 8;  // first completion after Navigate
inline constexpr unsigned WEBNOTIFY_TITLECHANGE = 9;       // lParam: the title, during the call
inline constexpr unsigned WEBNOTIFY_OPENOUTSIDE = 10;      // m_strUrl must open elsewhere

// The two arguments are 32 bits in the product, as a window message's are, and pointer
// wide in the 64-bit build, because the view, the title text and an out-parameter's
// address travel in them.
using WebNotifyWParam = UINT_PTR;
using WebNotifyLParam = LONG_PTR;

class ICWebNotifyEventHandler {
 public:
  virtual void Notify(unsigned id, WebNotifyWParam wParam, WebNotifyLParam lParam) = 0;
  virtual ~ICWebNotifyEventHandler() = default;
};

// A target object (not owned) and one of its member functions.
template <class T, class M, class I>
class CEventHandler : public I {
 public:
  CEventHandler(T* target, M member) : object(target), method(member) {}
  void Notify(unsigned, WebNotifyWParam, WebNotifyLParam) override {}

  T* object;
  M method;
};

// Calls the member function with the arguments unchanged.
template <class T, class M = void (T::*)(unsigned, WebNotifyWParam, WebNotifyLParam)>
class CCWebNotifyEventHandler : public CEventHandler<T, M, ICWebNotifyEventHandler> {
 public:
  using CEventHandler<T, M, ICWebNotifyEventHandler>::CEventHandler;
  void Notify(unsigned id, WebNotifyWParam wParam, WebNotifyLParam lParam) override {
    (this->object->*this->method)(id, wParam, lParam);
  }
};

// Tag type of the web notification source; no data, no behaviour.
struct FCWebNotifyEventHandler {};

// The notification source: an ordered list of handlers it owns, called in registration
// order. Main thread only.
template <template <class, class> class H, class F, class I>
class CFEvent {
 public:
  CFEvent() = default;
  CFEvent(const CFEvent&) = delete;
  CFEvent& operator=(const CFEvent&) = delete;
  virtual ~CFEvent() = default;

  // Appends a handler calling object->*method. A null object or method registers
  // nothing, since calling it could only crash.
  template <class T>
  void AddHandler(T* object, void (T::*method)(unsigned, WebNotifyWParam, WebNotifyLParam)) {
    if (object == nullptr || method == nullptr) return;
    m_handlers.push_back(std::make_unique<H<T, decltype(method)>>(object, method));
  }

  // Calls every handler, first registered first. A handler registered while this runs
  // is called from the next Fire on; a nested Fire from inside a handler is allowed.
  void Fire(unsigned id, WebNotifyWParam wParam, WebNotifyLParam lParam) {
    const size_t count = m_handlers.size();
    for (size_t i = 0; i < count && i < m_handlers.size(); ++i) {
      if (m_handlers[i]) m_handlers[i]->Notify(id, wParam, lParam);
    }
  }

  size_t HandlerCount() const { return m_handlers.size(); }

 private:
  std::vector<std::unique_ptr<I>> m_handlers;
};

class CWebNotify
    : public CFEvent<CCWebNotifyEventHandler, FCWebNotifyEventHandler, ICWebNotifyEventHandler> {
 public:
  ~CWebNotify() override = default;
};
