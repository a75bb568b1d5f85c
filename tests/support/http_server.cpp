#include <winsock2.h>
#include <ws2tcpip.h>

#include "support/http_server.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>

namespace testing_support {

namespace {

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

const char* StandardReason(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 301:
      return "Moved Permanently";
    case 302:
      return "Found";
    case 304:
      return "Not Modified";
    case 400:
      return "Bad Request";
    case 404:
      return "Not Found";
    case 500:
      return "Internal Server Error";
    case 503:
      return "Service Unavailable";
    default:
      return "Status";
  }
}

// Splits the head (request line and headers, without the blank line) into request.
void ParseHead(const std::string& head, RecordedRequest& request) {
  size_t lineStart = 0;
  bool first = true;
  while (lineStart <= head.size()) {
    size_t lineEnd = head.find("\r\n", lineStart);
    if (lineEnd == std::string::npos) lineEnd = head.size();
    const std::string line = head.substr(lineStart, lineEnd - lineStart);
    if (first) {
      const size_t a = line.find(' ');
      const size_t b = line.find(' ', a == std::string::npos ? a : a + 1);
      request.method = line.substr(0, a);
      if (a != std::string::npos)
        request.target = line.substr(a + 1, b == std::string::npos ? b : b - a - 1);
      if (b != std::string::npos) request.version = line.substr(b + 1);
      first = false;
    } else if (!line.empty()) {
      const size_t colon = line.find(':');
      if (colon != std::string::npos)
        request.headers.emplace_back(line.substr(0, colon), Trim(line.substr(colon + 1)));
    }
    lineStart = lineEnd + 2;
  }
}

}  // namespace

std::string RecordedRequest::Header(const std::string& name) const {
  for (const auto& header : headers)
    if (SameName(header.first, name)) return header.second;
  return std::string();
}

bool RecordedRequest::HasHeader(const std::string& name) const {
  for (const auto& header : headers)
    if (SameName(header.first, name)) return true;
  return false;
}

HttpServer::HttpServer(unsigned short port) {
  WSADATA data;
  m_winsock = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  if (!m_winsock) return;
  m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (m_listener == INVALID_SOCKET) return;
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  int length = sizeof(address);
  // A fixed port may still hold the closed connections of an earlier server (TIME_WAIT);
  // those must not stop a new one. A live listener still makes bind fail.
  const BOOL reuse = TRUE;
  if (port != 0)
    setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse),
               sizeof(reuse));
  if (bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      listen(m_listener, SOMAXCONN) != 0 ||
      getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    closesocket(m_listener);
    m_listener = INVALID_SOCKET;
    return;
  }
  m_port = ntohs(address.sin_port);
  m_acceptor = std::thread([this] { AcceptLoop(); });
}

HttpServer::~HttpServer() {
  m_stopping = true;
  if (m_listener != INVALID_SOCKET) closesocket(m_listener);
  if (m_acceptor.joinable()) m_acceptor.join();
  std::vector<std::thread> connections;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    // Wakes connection threads blocked in recv or send; they close their own sockets.
    for (Socket client : m_clients) shutdown(client, SD_BOTH);
    connections.swap(m_connections);
  }
  for (std::thread& connection : connections) connection.join();
  if (m_winsock) WSACleanup();
}

std::wstring HttpServer::Url(const std::string& target) const {
  const std::string url = UrlA(target);
  return std::wstring(url.begin(), url.end());
}

std::string HttpServer::UrlA(const std::string& target) const {
  return "http://127.0.0.1:" + std::to_string(m_port) + target;
}

void HttpServer::Script(const std::string& path, ScriptedResponse response) {
  Script(path, std::vector<ScriptedResponse>{std::move(response)});
}

void HttpServer::Script(const std::string& path, std::vector<ScriptedResponse> responses) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_scripts[path] = std::move(responses);
  m_served[path] = 0;
}

std::vector<RecordedRequest> HttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_requests;
}

std::vector<RecordedRequest> HttpServer::RequestsTo(const std::string& path) const {
  std::vector<RecordedRequest> matching;
  for (const RecordedRequest& request : Requests())
    if (request.Path() == path) matching.push_back(request);
  return matching;
}

bool HttpServer::WaitForRequests(size_t count, DWORD timeoutMs) const {
  std::unique_lock<std::mutex> lock(m_mutex);
  return m_arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                            [&] { return m_requests.size() >= count; });
}

void HttpServer::AcceptLoop() {
  while (!m_stopping) {
    const SOCKET client = accept(m_listener, nullptr, nullptr);
    if (client == INVALID_SOCKET) {
      if (m_stopping) return;
      continue;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_stopping) {
      closesocket(client);
      return;
    }
    m_clients.push_back(client);
    m_connections.emplace_back([this, client] { Serve(client); });
  }
}

ScriptedResponse HttpServer::NextResponse(const std::string& path) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto script = m_scripts.find(path);
  if (script == m_scripts.end() || script->second.empty()) {
    ScriptedResponse missing;
    missing.status = 404;
    missing.body = "not found";
    return missing;
  }
  size_t& served = m_served[path];
  const size_t index = std::min(served, script->second.size() - 1);
  ++served;
  return script->second[index];
}

bool HttpServer::SendAll(Socket client, const char* data, size_t size) {
  while (size > 0) {
    const int chunk = static_cast<int>(std::min<size_t>(size, 1 << 20));
    const int sent = send(client, data, chunk, 0);
    if (sent <= 0) return false;
    data += sent;
    size -= static_cast<size_t>(sent);
  }
  return true;
}

void HttpServer::Nap(DWORD ms) const {
  // Short naps, so that a server being destroyed does not wait out a slow script.
  for (DWORD slept = 0; slept < ms && !m_stopping; slept += 10)
    Sleep(std::min<DWORD>(10, ms - slept));
}

void HttpServer::Serve(Socket client) {
  std::string received;
  char buffer[16384];
  size_t headEnd = std::string::npos;
  while ((headEnd = received.find("\r\n\r\n")) == std::string::npos) {
    const int got = recv(client, buffer, sizeof(buffer), 0);
    if (got <= 0) break;
    received.append(buffer, static_cast<size_t>(got));
  }
  if (headEnd != std::string::npos) {
    RecordedRequest request;
    ParseHead(received.substr(0, headEnd), request);
    request.body = received.substr(headEnd + 4);
    const size_t bodyLength =
        static_cast<size_t>(std::strtoull(request.Header("Content-Length").c_str(), nullptr, 10));
    while (request.body.size() < bodyLength) {
      const int got = recv(client, buffer, sizeof(buffer), 0);
      if (got <= 0) break;
      request.body.append(buffer, static_cast<size_t>(got));
    }
    request.receivedAt = GetTickCount64();
    const std::string path = request.Path();
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_requests.push_back(request);
    }
    m_arrived.notify_all();

    const ScriptedResponse response = NextResponse(path);
    Nap(response.headerDelayMs);
    std::string head =
        "HTTP/1.1 " + std::to_string(response.status) + " " +
        (response.reason.empty() ? StandardReason(response.status) : response.reason) + "\r\n";
    for (const auto& header : response.headers)
      head += header.first + ": " + header.second + "\r\n";
    if (response.sendContentLength) {
      const long long announced = response.announcedLength >= 0
                                      ? response.announcedLength
                                      : static_cast<long long>(response.body.size());
      head += "Content-Length: " + std::to_string(announced) + "\r\n";
    }
    head += "Connection: close\r\n\r\n";
    bool open = !m_stopping && SendAll(client, head.data(), head.size());
    const size_t toSend = std::min(response.body.size(), response.closeAfterBytes);
    const size_t piece = response.pieceBytes == 0 ? toSend : response.pieceBytes;
    for (size_t offset = 0; open && offset < toSend && !m_stopping; offset += piece) {
      Nap(response.pieceDelayMs);
      open = !m_stopping &&
             SendAll(client, response.body.data() + offset, std::min(piece, toSend - offset));
    }
  }
  shutdown(client, SD_SEND);
  // Lets the client read what was sent before the socket goes (a hard close could cut it).
  while (!m_stopping && recv(client, buffer, sizeof(buffer), 0) > 0) {
  }
  std::lock_guard<std::mutex> lock(m_mutex);
  m_clients.erase(std::remove(m_clients.begin(), m_clients.end(), client), m_clients.end());
  closesocket(client);
}

}  // namespace testing_support
