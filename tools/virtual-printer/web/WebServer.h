// WebServer.h - the live page over HTTP: its own files, the receipts'
// pictures and bytes, the events that tell the page what changed, and the
// printer's faults. No path of a request reaches the file system.
#pragma once

#include <memory>
#include <string>

namespace vprinter {

class FaultControls;
class LiveReceipts;

class WebServer {
 public:
  // controls: nullptr where there is no printer to change (a recording).
  WebServer(LiveReceipts& live, FaultControls* controls);
  ~WebServer();
  WebServer(const WebServer&) = delete;
  WebServer& operator=(const WebServer&) = delete;

  // Listens on address:port (port 0: any free one) and serves from threads
  // of its own. On failure says why in error.
  bool start(const std::string& address, int port, std::string& error);
  // Where the page is: "http://127.0.0.1:8587/"; empty until started.
  const std::string& url() const;
  // The address and who can open it, for the user.
  std::string describe() const;
  // Ends every stream and stops serving.
  void stop();

 private:
  struct Server;
  std::unique_ptr<Server> server_;
};

}  // namespace vprinter
