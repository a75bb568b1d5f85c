// A tiny HTTP server on 127.0.0.1 for the real-control tests: every request gets the
// same small HTML page, and every request line is kept. The port is chosen at run time.
#pragma once

#include <winsock2.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LoopbackHttp {
 public:
  // Listens on 127.0.0.1 at a free port; port() is 0 when that failed.
  LoopbackHttp();
  ~LoopbackHttp();
  LoopbackHttp(const LoopbackHttp&) = delete;
  LoopbackHttp& operator=(const LoopbackHttp&) = delete;

  unsigned short port() const { return m_port; }
  // "http://127.0.0.1:<port>" followed by path.
  std::wstring Url(const std::wstring& path) const;
  // The request lines seen so far ("GET /path HTTP/1.1").
  std::vector<std::string> Requests();

 private:
  void Serve();

  SOCKET m_listener = INVALID_SOCKET;
  unsigned short m_port = 0;
  bool m_winsock = false;
  std::thread m_thread;
  std::mutex m_lock;
  std::vector<std::string> m_requests;
};
