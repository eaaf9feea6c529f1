#include "WebServer.h"

#include <httplib.h>

#include <fstream>
#include <random>
#include <sstream>

#include "WebAssets.h"

namespace mirt::web {

namespace {

constexpr const char* kJson = "application/json";

void Send(httplib::Response& res, const Answer& a) {
  res.status = a.status;
  // A name that is no valid UTF-8 (an old plant's) is sent with replacement characters
  // rather than failing the whole answer.
  res.set_content(a.body.dump(-1, ' ', false, Json::error_handler_t::replace), kJson);
}
void Fail(httplib::Response& res, int status, const std::string& error) { Send(res, {status, Json{{"error", error}}}); }

std::string_view Asset(std::string_view name) {
  for (auto& a : WebAssets())
    if (a.name == name) return a.bytes;
  return {};
}

// The page as one document: its style and script put in place, so that loading it is
// one request carrying the token.
std::string Page() {
  std::string page(Asset("index.html"));
  auto put = [&](const std::string& marker, std::string_view text) {
    if (auto at = page.find(marker); at != std::string::npos) page.replace(at, marker.size(), text);
  };
  put("/*APP_CSS*/", Asset("app.css"));
  put("/*APP_JS*/", Asset("app.js"));
  return page;
}

// Both sides of the comparison are walked in full: the time taken says nothing of how
// much of a guess was right.
bool SameSecret(const std::string& a, const std::string& b) {
  unsigned char diff = a.size() == b.size() ? 0 : 1;
  for (std::size_t i = 0; i < a.size(); ++i) diff |= static_cast<unsigned char>(a[i] ^ (i < b.size() ? b[i] : 0));
  return diff == 0;
}

std::size_t Number(const httplib::Request& req, const char* key, std::size_t fallback, std::size_t most) {
  if (!req.has_param(key)) return fallback;
  const std::string v = req.get_param_value(key);
  std::size_t n = 0;
  for (char c : v) {
    if (c < '0' || c > '9' || n > most) return fallback;
    n = n * 10 + static_cast<std::size_t>(c - '0');
  }
  return v.empty() ? fallback : std::min(n, most);
}

}  // namespace

std::string NewToken() {
  std::random_device device;
  std::ostringstream s;
  for (int i = 0; i < 4; ++i) {
    s.width(8);
    s.fill('0');
    s << std::hex << device();
  }
  return s.str();
}

WebServer::WebServer(WebSession& session, ServerOptions options)
    : session_(session), options_(std::move(options)), server_(std::make_unique<httplib::Server>()), page_(Page()) {
  if (options_.token.empty()) options_.token = NewToken();
  session_.AnswerBoxesFromPage(true);
  // Each open page keeps one thread for its event stream.
  server_->new_task_queue = [] { return new httplib::ThreadPool(16); };
  server_->set_payload_max_length(options_.maxBody);
  // The library's default also sets SO_REUSEPORT, with which a second server binds a port
  // already served and the two share the requests; a taken port must be an error.
  server_->set_socket_options([](socket_t sock) {
    int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
  });
  server_->set_keep_alive_timeout(5);
  Routes();
}

WebServer::~WebServer() { Stop(); }

bool WebServer::Bind(std::string* error) {
  if (options_.port == 0) {
    port_ = server_->bind_to_any_port(options_.bind);
  } else if (server_->bind_to_port(options_.bind, options_.port)) {
    port_ = options_.port;
  }
  if (port_ <= 0) {
    if (error) *error = "cannot listen on " + options_.bind + ":" + std::to_string(options_.port) + " (taken, or no such address)";
    return false;
  }
  return true;
}

std::string WebServer::Url() const {
  const std::string host = options_.bind == "0.0.0.0" ? "127.0.0.1" : options_.bind;
  return "http://" + host + ":" + std::to_string(port_) + "/?token=" + options_.token;
}

void WebServer::Run() { server_->listen_after_bind(); }

void WebServer::Stop() {
  session_.Stop();
  if (server_) server_->stop();
}

bool WebServer::HostAllowed(const std::string& host) const {
  const std::string port = ":" + std::to_string(port_);
  if (host == options_.bind + port) return true;
  // The loopback address answers to its usual names too.
  const bool loopback = options_.bind == "127.0.0.1" || options_.bind == "0.0.0.0";
  return loopback && (host == "localhost" + port || host == "127.0.0.1" + port);
}

void WebServer::Routes() {
  auto& s = *server_;
  s.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    if (!HostAllowed(req.get_header_value("Host"))) {
      Fail(res, 421, "this server answers to " + options_.bind + ":" + std::to_string(port_) + " only");
      return httplib::Server::HandlerResponse::Handled;
    }
    const std::string token = req.has_header("X-Mirt-Token") ? req.get_header_value("X-Mirt-Token") : req.get_param_value("token");
    if (!SameSecret(token, options_.token)) {
      Fail(res, 401, "the access token is missing or wrong: open the address mirt serve printed");
      return httplib::Server::HandlerResponse::Handled;
    }
    res.set_header("Cache-Control", "no-store");
    res.set_header("X-Content-Type-Options", "nosniff");
    return httplib::Server::HandlerResponse::Unhandled;
  });
  s.Get("/", [this](const httplib::Request&, httplib::Response& res) {
    res.set_header("Content-Security-Policy", "default-src 'self'; script-src 'unsafe-inline'; style-src 'unsafe-inline'; img-src 'self' data:");
    res.set_content(page_, "text/html; charset=utf-8");
  });
  s.Get("/api/state", [this](const httplib::Request&, httplib::Response& res) { Send(res, {200, session_.State()}); });
  s.Get("/api/workbench", [this](const httplib::Request&, httplib::Response& res) { Send(res, {200, session_.Workbench()}); });
  s.Get("/api/tree", [this](const httplib::Request& req, httplib::Response& res) {
    Send(res, session_.Tree(req.get_param_value("path"), Number(req, "offset", 0, 100000000), Number(req, "limit", 200, 1000)));
  });
  s.Get("/api/search", [this](const httplib::Request& req, httplib::Response& res) {
    Send(res, session_.Search(req.get_param_value("q"), Number(req, "limit", 50, 500)));
  });
  s.Get("/api/object", [this](const httplib::Request& req, httplib::Response& res) { Send(res, session_.Object(req.get_param_value("path"))); });
  // The picture itself, so that the page shows it as an image: an SVG in an <img> runs no script.
  s.Get("/api/window", [this](const httplib::Request& req, httplib::Response& res) {
    Answer a = session_.Picture(req.get_param_value("name"));
    if (a.status != 200) return Send(res, a);
    res.set_content(a.body["svg"].get<std::string>(), "image/svg+xml");
  });
  s.Get("/api/files", [this](const httplib::Request& req, httplib::Response& res) { Send(res, session_.Files(req.get_param_value("folder"))); });
  s.Get("/api/download", [this](const httplib::Request& req, httplib::Response& res) {
    const std::string name = req.get_param_value("name");
    const std::string path = session_.AllowedFile("output", name);
    std::ifstream in(path, std::ios::binary);
    if (path.empty() || !in) return Fail(res, 404, "no file '" + name + "' in the output folder");
    std::ostringstream bytes;
    bytes << in.rdbuf();
    res.set_header("Content-Disposition", "attachment; filename=\"" + name + "\"");
    res.set_content(bytes.str(), "application/octet-stream");
  });
  s.Post("/api/action", [this](const httplib::Request& req, httplib::Response& res) {
    if (req.get_header_value("Content-Type").rfind(kJson, 0) != 0) return Fail(res, 415, "send the action as application/json");
    Json action = Json::parse(req.body, nullptr, false);
    if (action.is_discarded()) return Fail(res, 400, "the action is no JSON");
    Send(res, session_.Act(action));
  });
  // The page redraws when the generation moves; a comment every 15 s keeps the stream
  // open through proxies and notices a page that went away.
  s.Get("/api/events", [this](const httplib::Request&, httplib::Response& res) {
    auto seen = std::make_shared<std::uint64_t>(0);
    res.set_chunked_content_provider("text/event-stream", [this, seen](std::size_t, httplib::DataSink& sink) {
      if (session_.Stopped()) return false;
      const std::uint64_t now = *seen == 0 ? session_.Generation() : session_.WaitForChange(*seen, std::chrono::seconds(15));
      if (session_.Stopped()) return false;
      const std::string chunk = now != *seen ? "data: {\"generation\":" + std::to_string(now) + "}\n\n" : ": still here\n\n";
      *seen = now;
      return sink.write(chunk.data(), chunk.size());
    });
  });
}

}  // namespace mirt::web
