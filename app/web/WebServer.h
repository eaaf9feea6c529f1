#pragma once
// The HTTP side of `mirt serve`: the page, the session's JSON and the event stream
// that tells the page to redraw. A local server is reachable by every local user and
// by any page the planner's browser opens, so every request must carry the access
// token, name the bound address in its Host header (no DNS rebinding), and stay
// small; no answer allows other origins.
#include <memory>
#include <string>

#include "WebSession.h"

namespace httplib {
class Server;
}

namespace mirt::web {

struct ServerOptions {
  std::string bind = "127.0.0.1";
  int port = 0;             // 0: a free port the system picks
  std::string token;        // empty: a random one
  std::size_t maxBody = 64 * 1024;
};

class WebServer {
public:
  WebServer(WebSession& session, ServerOptions options);
  ~WebServer();
  WebServer(const WebServer&) = delete;
  WebServer& operator=(const WebServer&) = delete;

  // Binds the address; false with a message (the port is taken, the address unknown).
  bool Bind(std::string* error);
  int Port() const { return port_; }
  const std::string& Token() const { return options_.token; }
  // The address to open, token included.
  std::string Url() const;
  // Serves until Stop (from another thread or a signal handler's thread).
  void Run();
  void Stop();

private:
  void Routes();
  bool HostAllowed(const std::string& host) const;

  WebSession& session_;
  ServerOptions options_;
  std::unique_ptr<httplib::Server> server_;
  int port_ = 0;
  std::string page_;
};

// A fresh random access token: 32 hexadecimal digits.
std::string NewToken();

}  // namespace mirt::web
