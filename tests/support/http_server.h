// A small HTTP/1.1 server for tests, on 127.0.0.1 with a port the system chooses. Each
// test scripts what a path answers (status, headers, body, with or without a length,
// slowly or closing early) and reads back every request as it arrived. One response per
// connection ("Connection: close"), each connection on its own thread; thread-safe.
#pragma once

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace testing_support {

struct RecordedRequest {
  std::string method;
  std::string target;  // as sent: path and query string
  std::string version;
  std::vector<std::pair<std::string, std::string>> headers;  // in order, as sent
  std::string body;
  ULONGLONG receivedAt = 0;  // GetTickCount64 once the whole request had arrived

  std::string Path() const { return target.substr(0, target.find('?')); }
  // The first header of that name (letter case ignored); empty when absent.
  std::string Header(const std::string& name) const;
  bool HasHeader(const std::string& name) const;
};

struct ScriptedResponse {
  int status = 200;
  std::string reason;  // empty: a standard phrase for the status
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  bool sendContentLength = true;                     // "Content-Length" with the announced length
  long long announcedLength = -1;                    // the length to announce; -1 = the body's size
  size_t closeAfterBytes = static_cast<size_t>(-1);  // close after this much of the body
  size_t pieceBytes = 0;    // send the body in pieces of this size (0 = at once) ...
  DWORD pieceDelayMs = 0;   // ... waiting this long before each piece
  DWORD headerDelayMs = 0;  // wait before sending anything at all
};

class HttpServer {
 public:
  // A Winsock SOCKET; spelt here so that this header needs no winsock2.h (which must come
  // before windows.h wherever it is included).
  typedef UINT_PTR Socket;

  // Listens on port, or on one the system chooses when it is 0 (check Listening()).
  explicit HttpServer(unsigned short port = 0);
  // Stops accepting, cuts slow responses short and waits for every connection thread.
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  bool Listening() const { return m_listener != static_cast<Socket>(~0); }
  unsigned short Port() const { return m_port; }
  // "http://127.0.0.1:<port>" + target (which starts with "/").
  std::wstring Url(const std::string& target) const;
  std::string UrlA(const std::string& target) const;

  // What requests for path (the target without its query string) get. With several
  // responses, each request takes the next and the last one repeats. Unscripted paths
  // get 404.
  void Script(const std::string& path, ScriptedResponse response);
  void Script(const std::string& path, std::vector<ScriptedResponse> responses);

  std::vector<RecordedRequest> Requests() const;
  std::vector<RecordedRequest> RequestsTo(const std::string& path) const;
  // True once at least count requests have arrived, false after timeoutMs.
  bool WaitForRequests(size_t count, DWORD timeoutMs) const;

 private:
  void AcceptLoop();
  void Serve(Socket client);
  ScriptedResponse NextResponse(const std::string& path);
  bool SendAll(Socket client, const char* data, size_t size);
  void Nap(DWORD ms) const;

  bool m_winsock = false;
  Socket m_listener = static_cast<Socket>(~0);
  unsigned short m_port = 0;
  std::atomic<bool> m_stopping{false};
  std::thread m_acceptor;

  mutable std::mutex m_mutex;
  mutable std::condition_variable m_arrived;
  std::map<std::string, std::vector<ScriptedResponse>> m_scripts;
  std::map<std::string, size_t> m_served;
  std::vector<RecordedRequest> m_requests;
  std::vector<std::thread> m_connections;
  std::vector<Socket> m_clients;
};

}  // namespace testing_support
