#include "loopback_http.h"

#include <ws2tcpip.h>

LoopbackHttp::LoopbackHttp() {
  WSADATA data;
  m_winsock = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  if (!m_winsock) return;
  m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (m_listener == INVALID_SOCKET) return;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  int length = sizeof(address);
  if (bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      listen(m_listener, 8) != 0 ||
      getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    return;
  m_port = ntohs(address.sin_port);
  m_thread = std::thread([this] { Serve(); });
}

LoopbackHttp::~LoopbackHttp() {
  // Closing the listener ends the blocked accept and with it the thread.
  if (m_listener != INVALID_SOCKET) closesocket(m_listener);
  if (m_thread.joinable()) m_thread.join();
  if (m_winsock) WSACleanup();
}

std::wstring LoopbackHttp::Url(const std::wstring& path) const {
  return L"http://127.0.0.1:" + std::to_wstring(m_port) + path;
}

std::vector<std::string> LoopbackHttp::Requests() {
  std::lock_guard<std::mutex> hold(m_lock);
  return m_requests;
}

void LoopbackHttp::Serve() {
  for (;;) {
    const SOCKET client = accept(m_listener, nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    std::string request;
    char buffer[2048];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
      const int got = recv(client, buffer, sizeof(buffer), 0);
      if (got <= 0) break;
      request.append(buffer, static_cast<size_t>(got));
    }
    {
      std::lock_guard<std::mutex> hold(m_lock);
      m_requests.push_back(request.substr(0, request.find("\r\n")));
    }
    const std::string body = "<html><head><title>loopback</title></head><body>page</body></html>";
    const std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                              std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    send(client, reply.data(), static_cast<int>(reply.size()), 0);
    shutdown(client, SD_SEND);
    closesocket(client);
  }
}
