#include "web/web_notify.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct Call {
  std::string who;
  unsigned id;
  WebNotifyWParam wParam;
  WebNotifyLParam lParam;
  bool operator==(const Call& other) const {
    return who == other.who && id == other.id && wParam == other.wParam && lParam == other.lParam;
  }
};

// A form-like listener that handles a few ids and ignores the rest.
struct Listener {
  Listener(std::string name, std::vector<Call>* log, std::vector<unsigned> handled)
      : name(std::move(name)), log(log), handled(std::move(handled)) {}
  void OnNotify(unsigned id, WebNotifyWParam wParam, WebNotifyLParam lParam) {
    for (unsigned mine : handled)
      if (mine == id) log->push_back({name, id, wParam, lParam});
  }
  std::string name;
  std::vector<Call>* log;
  std::vector<unsigned> handled;
};

TEST(WebNotify, IdsAreTheFixedNumbers) {
  EXPECT_EQ(WEBNOTIFY_DOCUMENTCOMPLETE, 0u);
  EXPECT_EQ(WEBNOTIFY_NAVIGATEERROR, 1u);
  EXPECT_EQ(WEBNOTIFY_GETEXTERNAL, 2u);
  EXPECT_EQ(WEBNOTIFY_BEFORENAVIGATE, 7u);
  EXPECT_EQ(WEBNOTIFY_NAVIGATECOMPLETE, 8u);
  EXPECT_EQ(WEBNOTIFY_TITLECHANGE, 9u);
  EXPECT_EQ(WEBNOTIFY_OPENOUTSIDE, 10u);
  // Pointers travel in the arguments.
  static_assert(sizeof(WebNotifyWParam) == sizeof(void*), "wParam carries an address");
  static_assert(sizeof(WebNotifyLParam) == sizeof(void*), "lParam carries the view");
}

TEST(WebNotify, FireWithoutHandlersDoesNothing) {
  CWebNotify source;
  source.Fire(WEBNOTIFY_BEFORENAVIGATE, 0, 0);
  EXPECT_EQ(source.HandlerCount(), 0u);
}

TEST(WebNotify, EveryHandlerInRegistrationOrderWithUnchangedArguments) {
  std::vector<Call> log;
  Listener first("first", &log, {7, 9, 10});
  Listener second("second", &log, {7, 10});
  CWebNotify source;
  source.AddHandler(&first, &Listener::OnNotify);
  source.AddHandler(&second, &Listener::OnNotify);

  // Full-width values: a truncated pointer would show here in the 64-bit build.
  const WebNotifyWParam wide = static_cast<WebNotifyWParam>(UINTPTR_MAX - 5);
  const WebNotifyLParam view = reinterpret_cast<WebNotifyLParam>(&source);
  source.Fire(WEBNOTIFY_BEFORENAVIGATE, wide, view);
  source.Fire(WEBNOTIFY_TITLECHANGE, 0, -1);      // only the first listens
  source.Fire(WEBNOTIFY_NAVIGATECOMPLETE, 1, 2);  // neither listens

  const std::vector<Call> expected = {
      {"first", 7, wide, view}, {"second", 7, wide, view}, {"first", 9, 0, -1}};
  EXPECT_EQ(log, expected);
}

TEST(WebNotify, NullTargetOrMethodRegistersNothing) {
  std::vector<Call> log;
  Listener listener("l", &log, {0});
  CWebNotify source;
  source.AddHandler<Listener>(nullptr, &Listener::OnNotify);
  source.AddHandler<Listener>(&listener, nullptr);
  EXPECT_EQ(source.HandlerCount(), 0u);
  source.Fire(0, 0, 0);
  EXPECT_TRUE(log.empty());
}

// A handler that registers another one and fires again while it is being called.
struct Reentrant {
  void OnNotify(unsigned id, WebNotifyWParam, WebNotifyLParam) {
    seen.push_back(id);
    if (id == 1) {
      source->AddHandler(&late, &Listener::OnNotify);
      source->Fire(2, 0, 0);
    }
  }
  CWebNotify* source;
  Listener late;
  std::vector<unsigned> seen;
};

TEST(WebNotify, HandlerAddedDuringFireIsCalledFromTheNextFireOn) {
  std::vector<Call> log;
  CWebNotify source;
  Reentrant reentrant{&source, Listener("late", &log, {1, 2, 3}), {}};
  source.AddHandler(&reentrant, &Reentrant::OnNotify);
  source.Fire(1, 0, 0);
  // The nested fire reached the new handler; the outer walk did not call it for id 1.
  EXPECT_EQ(reentrant.seen, (std::vector<unsigned>{1, 2}));
  EXPECT_EQ(log, (std::vector<Call>{{"late", 2, 0, 0}}));
  source.Fire(3, 0, 0);
  EXPECT_EQ(log.back(), (Call{"late", 3, 0, 0}));
}

// The source owns its handlers: a handler type that counts its destruction.
int g_destroyed = 0;
template <class T, class M>
class CountingHandler : public CCWebNotifyEventHandler<T, M> {
 public:
  using CCWebNotifyEventHandler<T, M>::CCWebNotifyEventHandler;
  ~CountingHandler() override { ++g_destroyed; }
};

TEST(WebNotify, SourceDeletesItsHandlers) {
  std::vector<Call> log;
  Listener listener("l", &log, {4});
  g_destroyed = 0;
  {
    CFEvent<CountingHandler, FCWebNotifyEventHandler, ICWebNotifyEventHandler> source;
    source.AddHandler(&listener, &Listener::OnNotify);
    source.AddHandler(&listener, &Listener::OnNotify);
    source.Fire(4, 0, 0);
    EXPECT_EQ(log.size(), 2u);
    EXPECT_EQ(g_destroyed, 0);
  }
  EXPECT_EQ(g_destroyed, 2);
}

}  // namespace
