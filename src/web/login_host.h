// What the login window needs from the program around it, handed over by the
// application object when the window is initialised. All calls come on the main thread,
// from the login window's page notifications and clicks.
#pragma once

#include <string>

class ILoginHost {
 public:
  // The login page with its tracking query.
  virtual std::wstring GetLoginUrl() const = 0;
  // The payment page for the player the pages reported last.
  virtual std::wstring GetPayUrl() const = 0;
  // The player values the login pages report: the user name after "wd_username=", and the
  // server id of the address that enters the game (emptied at every ordinary navigation).
  virtual void SetUserName(const std::wstring& userName) = 0;
  virtual void SetServerId(const std::wstring& serverId) = 0;
  // Every completed top-level document of the login view (the active beacon and its
  // counter).
  virtual void OnLoginDocumentComplete() = 0;
  // The login page has come on screen (the version check, once per process).
  virtual void OnLoginPageShown() = 0;

 protected:
  ~ILoginHost() = default;
};
