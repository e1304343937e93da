// WebServer.cpp - the live page's routes on cpp-httplib. Every route is a
// fixed path or a receipt's number; anything else gets 404, a request that
// is no HTTP 400.
#include "WebServer.h"

#include <arpa/inet.h>
#include <httplib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "FaultControls.h"
#include "LiveReceipts.h"
#include "PageFiles.h"

namespace vprinter {
namespace {

// Pages (or tabs) open at once; each holds a thread while it is open.
constexpr int kMaxStreams = 8;
constexpr size_t kThreads = kMaxStreams + 4;
// A stream with nothing to tell says so this often: a page that went away
// is noticed when this fails.
constexpr std::chrono::seconds kHeartbeat{2};
// Nothing the page sends is longer.
constexpr size_t kMaxBody = 4096;

const char* typeOf(const std::string& name) {
  static const struct {
    const char* ending;
    const char* type;
  } kTypes[] = {{".html", "text/html; charset=utf-8"},
                {".js", "text/javascript; charset=utf-8"},
                {".css", "text/css; charset=utf-8"}};
  for (const auto& t : kTypes) {
    const size_t n = std::strlen(t.ending);
    if (name.size() >= n && name.compare(name.size() - n, n, t.ending) == 0) return t.type;
  }
  return "application/octet-stream";
}

const PageFile* pageFile(const std::string& name) {
  for (size_t k = 0; k < kPageFileCount; ++k) {
    if (name == kPageFiles[k].name) return &kPageFiles[k];
  }
  return nullptr;
}

bool isLoopback(const std::string& address) {
  return address == "localhost" || address == "::1" || address.rfind("127.", 0) == 0;
}

// Whether the Host header names the server by an address or as localhost.
// On loopback, a page of another name that resolves here (DNS rebinding)
// is turned away.
bool knownHost(const std::string& host) {
  if (host.empty()) return true;  // HTTP/1.0: no browser
  std::string name = host;
  if (name[0] == '[') {
    name = name.substr(1, name.find(']') == std::string::npos ? 0 : name.find(']') - 1);
  } else if (name.find(':') != std::string::npos) {
    name = name.substr(0, name.find(':'));
  }
  unsigned char numeric[sizeof(in6_addr)];
  return name == "localhost" || inet_pton(AF_INET, name.c_str(), numeric) == 1 ||
         inet_pton(AF_INET6, name.c_str(), numeric) == 1;
}

void answer(httplib::Response& res, int status, const std::string& text) {
  res.status = status;
  res.set_content(text + "\n", "text/plain; charset=utf-8");
}

}  // namespace

struct WebServer::Server {
  Server(LiveReceipts& l, FaultControls* c) : live(l), controls(c) {}
  void route();
  void events(httplib::Response& res);
  void changePrinter(const httplib::Request& req, httplib::Response& res);

  LiveReceipts& live;
  FaultControls* controls;
  httplib::Server http;
  std::thread thread;
  std::string address;
  std::string url;
  std::atomic<int> streams{0};
};

void WebServer::Server::route() {
  using httplib::Request;
  using httplib::Response;
  http.set_pre_routing_handler([this](const Request& req, Response& res) {
    if (!isLoopback(address) || knownHost(req.get_header_value("Host"))) {
      return httplib::Server::HandlerResponse::Unhandled;
    }
    answer(res, 400, "unknown host: open the page at " + url);
    return httplib::Server::HandlerResponse::Handled;
  });
  http.Get(R"(/|/[a-z]+\.(html|js|css))", [](const Request& req, Response& res) {
    const PageFile* file = pageFile(req.path == "/" ? "index.html" : req.path.substr(1));
    if (file == nullptr) return answer(res, 404, "not found");
    res.set_content(file->text, typeOf(file->name));
  });
  http.Get("/events", [this](const Request&, Response& res) { events(res); });
  http.Get(R"(/receipts/(\d{1,9})\.png)", [this](const Request& req, Response& res) {
    std::shared_ptr<const std::vector<uint8_t>> png;
    if (!live.picture(std::stol(req.matches[1]), png) || png == nullptr) return answer(res, 404, "no such picture");
    res.set_content(reinterpret_cast<const char*>(png->data()), png->size(), "image/png");
  });
  http.Get(R"(/receipts/(\d{1,9})\.bin)", [this](const Request& req, Response& res) {
    std::vector<uint8_t> bytes;
    if (!live.bytes(std::stol(req.matches[1]), bytes)) return answer(res, 404, "no such receipt");
    res.set_header("Content-Disposition", "attachment; filename=\"received-" + req.matches[1].str() + ".bin\"");
    res.set_content(reinterpret_cast<const char*>(bytes.data()), bytes.size(), "application/octet-stream");
  });
  http.Post("/printer", [this](const Request& req, Response& res) { changePrinter(req, res); });
  http.set_error_handler([](const Request&, Response& res) {
    if (res.body.empty()) answer(res, res.status, res.status == 404 ? "not found" : "not understood");
  });
}

// Server-sent events: everything at first, then each change as it comes.
void WebServer::Server::events(httplib::Response& res) {
  if (++streams > kMaxStreams) {
    --streams;
    return answer(res, 503, "too many pages open");
  }
  auto seen = std::make_shared<uint64_t>(0);
  res.set_chunked_content_provider(
      "text/event-stream",
      [this, seen](size_t, httplib::DataSink& sink) {
        std::string events;
        if (!live.eventsAfter(*seen, kHeartbeat, events)) return false;
        if (events.empty()) events = ":\n\n";  // a comment: still here
        return sink.write(events.data(), events.size());
      },
      [this](bool) { --streams; });
}

// POST /printer?silent=1&status-delay=500: sets the faults named.
void WebServer::Server::changePrinter(const httplib::Request& req, httplib::Response& res) {
  if (controls == nullptr) return answer(res, 404, "a recording has no printer to change");
  // Another site's page may send a form here, but its browser says whose it is.
  const std::string origin = req.get_header_value("Origin");
  if (!origin.empty() && origin != "http://" + req.get_header_value("Host")) {
    return answer(res, 403, "only the page itself changes the printer");
  }
  const std::vector<std::pair<std::string, std::string>> faults(req.params.begin(), req.params.end());
  std::string error;
  if (!controls->change(faults, error)) return answer(res, 400, error);
  res.status = 204;
}

WebServer::WebServer(LiveReceipts& live, FaultControls* controls) : server_(new Server(live, controls)) {}

WebServer::~WebServer() { stop(); }

bool WebServer::start(const std::string& address, int port, std::string& error) {
  Server& s = *server_;
  s.address = address;
  s.route();
  s.http.new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
  // Not SO_REUSEPORT, which would let a second printer share the port.
  s.http.set_socket_options([](int sock) {
    const int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  s.http.set_keep_alive_timeout(1);
  s.http.set_read_timeout(5);
  s.http.set_write_timeout(5);
  s.http.set_payload_max_length(kMaxBody);
  s.http.set_default_headers({{"Content-Security-Policy", "default-src 'self'; frame-ancestors 'none'"},
                              {"X-Content-Type-Options", "nosniff"},
                              {"Referrer-Policy", "no-referrer"},
                              {"Cache-Control", "no-store"}});
  const int bound = port == 0 ? s.http.bind_to_any_port(address) : s.http.bind_to_port(address, port) ? port : -1;
  const std::string host = address.find(':') == std::string::npos ? address : "[" + address + "]";
  if (bound <= 0) {
    error = "cannot listen on " + host + ":" + std::to_string(port) + " (in use, or no address of this machine)";
    return false;
  }
  s.url = "http://" + host + ":" + std::to_string(bound) + "/";
  s.thread = std::thread([&s] { s.http.listen_after_bind(); });
  // stop() is lost on a server not yet running
  for (int waited = 0; !s.http.is_running() && waited < 5000; ++waited) usleep(1000);
  return true;
}

const std::string& WebServer::url() const { return server_->url; }

std::string WebServer::describe() const {
  if (isLoopback(server_->address)) return server_->url + " (this machine only: --web ADDRESS:PORT opens it to others)";
  return server_->url + " (open to every machine that reaches " + server_->address +
         ": it sees the receipts and changes the printer)";
}

void WebServer::stop() {
  if (!server_->thread.joinable()) return;
  server_->live.close();
  server_->http.stop();
  server_->thread.join();
}

}  // namespace vprinter
