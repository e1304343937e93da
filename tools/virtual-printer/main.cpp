// tq587-virtual-printer - a receipt printer on a pseudo-terminal.
//
// It links the terminal as DIR/dosdevices/comN, where the driver looks for
// COMN, answers the status requests at its line speed, records every byte
// it receives and, when it stops, writes a decoded listing of them.
//
//   tq587-virtual-printer --dir DIR [--port N] [--speed BAUD] [--silent]
//       [--record FILE] [--listing FILE|-] [--seconds S] [--ready-file FILE]
//   tq587-virtual-printer --decode FILE
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "EscPosDecoder.h"
#include "StatusResponder.h"

namespace {

volatile sig_atomic_t gStop = 0;

void onSignal(int) { gStop = 1; }

struct Options {
  std::string dir;
  int port = 1;
  long speed = 0;  // 0: answer at any speed
  bool silent = false;
  std::string record;
  std::string listing;
  double seconds = 0;  // 0: until a signal
  std::string readyFile;
  std::string decode;
};

void usage() {
  std::fprintf(stderr,
               "usage: tq587-virtual-printer --dir DIR [--port N] [--speed BAUD] [--silent]\n"
               "           [--record FILE] [--listing FILE|-] [--seconds S] [--ready-file FILE]\n"
               "       tq587-virtual-printer --decode FILE\n");
}

bool parseOptions(int argc, char** argv, Options& o) {
  for (int k = 1; k < argc; ++k) {
    const std::string name = argv[k];
    if (name == "--silent") {
      o.silent = true;
      continue;
    }
    if (k + 1 >= argc) return false;
    const char* value = argv[++k];
    char* end = nullptr;
    if (name == "--dir") {
      o.dir = value;
    } else if (name == "--port") {
      o.port = static_cast<int>(std::strtol(value, &end, 10));
      if (*end != '\0' || o.port < 1 || o.port > 99) return false;
    } else if (name == "--speed") {
      o.speed = std::strtol(value, &end, 10);
      if (*end != '\0' || o.speed < 0) return false;
    } else if (name == "--record") {
      o.record = value;
    } else if (name == "--listing") {
      o.listing = value;
    } else if (name == "--seconds") {
      o.seconds = std::strtod(value, &end);
      if (*end != '\0' || o.seconds < 0) return false;
    } else if (name == "--ready-file") {
      o.readyFile = value;
    } else if (name == "--decode") {
      o.decode = value;
    } else {
      return false;
    }
  }
  return !o.decode.empty() || !o.dir.empty();
}

// The line speed in bit/s of a termios speed code; 0 when unknown.
long baudOf(speed_t code) {
  static const struct {
    speed_t code;
    long baud;
  } kSpeeds[] = {{B1200, 1200},   {B2400, 2400},   {B4800, 4800},   {B9600, 9600},
                 {B19200, 19200}, {B38400, 38400}, {B57600, 57600}, {B115200, 115200},
                 {B230400, 230400}};
  for (const auto& s : kSpeeds) {
    if (s.code == code) return s.baud;
  }
  return 0;
}

bool readFile(const std::string& path, std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  uint8_t chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  std::fclose(f);
  return true;
}

bool writeListing(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = path == "-" ? stdout : std::fopen(path.c_str(), "w");
  if (f == nullptr) return false;
  for (const std::string& line : vprinter::decodeListing(bytes.data(), bytes.size())) {
    std::fprintf(f, "%s\n", line.c_str());
  }
  return f == stdout ? std::fflush(f) == 0 : std::fclose(f) == 0;
}

bool writeAll(int fd, const uint8_t* bytes, size_t length) {
  while (length > 0) {
    const ssize_t done = write(fd, bytes, length);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    bytes += done;
    length -= static_cast<size_t>(done);
  }
  return true;
}

double now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// The pseudo-terminal and its link. The printer keeps a descriptor of the
// terminal side open itself, so that the driver closing and reopening the
// port never hangs the line up.
class Terminal {
 public:
  ~Terminal() {
    unlink();
    if (keep_ >= 0) close(keep_);
    if (master_ >= 0) close(master_);
  }

  bool open(const std::string& dir, int port) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return fail("pseudo-terminal");
    const char* name = ptsname(master_);
    if (name == nullptr) return fail("ptsname");
    device_ = name;
    keep_ = ::open(name, O_RDWR | O_NOCTTY);
    if (keep_ < 0) return fail(device_.c_str());
    termios t;
    if (tcgetattr(keep_, &t) == 0) {
      cfmakeraw(&t);
      tcsetattr(keep_, TCSANOW, &t);
    }
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);

    const std::string devices = dir + "/dosdevices";
    if (mkdir(devices.c_str(), 0755) != 0 && errno != EEXIST) return fail(devices.c_str());
    link_ = devices + "/com" + std::to_string(port);
    struct stat st;
    if (lstat(link_.c_str(), &st) == 0) {
      if (!S_ISLNK(st.st_mode)) {
        std::fprintf(stderr, "tq587-virtual-printer: %s is in the way\n", link_.c_str());
        link_.clear();
        return false;
      }
      ::unlink(link_.c_str());
    }
    if (symlink(device_.c_str(), link_.c_str()) != 0) {
      const std::string what = link_;
      link_.clear();
      return fail(what.c_str());
    }
    return true;
  }

  // The speed the driver set on its side of the line.
  long lineSpeed() const {
    termios t;
    if (tcgetattr(master_, &t) != 0) return 0;
    return baudOf(cfgetospeed(&t));
  }

  // Removes the link, when it is still ours.
  void unlink() {
    if (link_.empty()) return;
    char target[256] = {};
    const ssize_t got = readlink(link_.c_str(), target, sizeof target - 1);
    if (got > 0 && device_ == std::string(target, static_cast<size_t>(got))) ::unlink(link_.c_str());
    link_.clear();
  }

  int master() const { return master_; }
  const std::string& link() const { return link_; }
  const std::string& device() const { return device_; }

 private:
  static bool fail(const char* what) {
    std::fprintf(stderr, "tq587-virtual-printer: %s: %s\n", what, std::strerror(errno));
    return false;
  }

  int master_ = -1;
  int keep_ = -1;
  std::string device_;
  std::string link_;
};

// Reads what is waiting, records it and answers the status requests.
// Returns false when nothing was there.
bool takeInput(Terminal& terminal, vprinter::StatusResponder& responder, int record,
               std::vector<uint8_t>& received) {
  uint8_t chunk[4096];
  const ssize_t got = read(terminal.master(), chunk, sizeof chunk);
  if (got <= 0) return false;
  const size_t length = static_cast<size_t>(got);
  if (record >= 0 && !writeAll(record, chunk, length)) {
    std::fprintf(stderr, "tq587-virtual-printer: recording failed: %s\n", std::strerror(errno));
  }
  received.insert(received.end(), chunk, chunk + length);
  std::vector<uint8_t> replies;
  responder.receive(chunk, length, terminal.lineSpeed(), replies);
  if (!replies.empty()) writeAll(terminal.master(), replies.data(), replies.size());
  return true;
}

bool announceReady(const Options& o, const Terminal& terminal) {
  std::printf("ready %s -> %s\n", terminal.link().c_str(), terminal.device().c_str());
  std::fflush(stdout);
  if (o.readyFile.empty()) return true;
  const std::string temporary = o.readyFile + ".tmp";
  FILE* f = std::fopen(temporary.c_str(), "w");
  if (f == nullptr) return false;
  std::fprintf(f, "%s\n", terminal.link().c_str());
  return std::fclose(f) == 0 && std::rename(temporary.c_str(), o.readyFile.c_str()) == 0;
}

int serve(const Options& o) {
  int record = -1;
  if (!o.record.empty()) {
    record = open(o.record.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (record < 0) {
      std::fprintf(stderr, "tq587-virtual-printer: %s: %s\n", o.record.c_str(), std::strerror(errno));
      return 1;
    }
  }
  std::vector<uint8_t> received;
  int status = 0;
  {
    Terminal terminal;
    if (!terminal.open(o.dir, o.port) || !announceReady(o, terminal)) {
      status = 1;
    } else {
      vprinter::StatusResponder responder(o.speed, o.silent);
      const double deadline = o.seconds > 0 ? now() + o.seconds : 0;
      while (!gStop && (deadline == 0 || now() < deadline)) {
        pollfd p = {terminal.master(), POLLIN, 0};
        const int ready = poll(&p, 1, 50);
        if (ready > 0 && (p.revents & POLLIN)) {
          takeInput(terminal, responder, record, received);
        } else if (ready > 0) {
          usleep(20000);  // a hung-up line: wait rather than spin
        }
      }
      // Stopping: the link goes first so that no driver opens the port
      // again, then every byte still waiting is taken.
      terminal.unlink();
      while (takeInput(terminal, responder, record, received)) {
      }
    }
  }
  if (record >= 0) close(record);
  if (status == 0 && !o.listing.empty() && !writeListing(o.listing, received)) {
    std::fprintf(stderr, "tq587-virtual-printer: cannot write %s\n", o.listing.c_str());
    status = 1;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!parseOptions(argc, argv, o)) {
    usage();
    return 2;
  }
  if (!o.decode.empty()) {
    std::vector<uint8_t> bytes;
    if (!readFile(o.decode, bytes)) {
      std::fprintf(stderr, "tq587-virtual-printer: cannot read %s\n", o.decode.c_str());
      return 1;
    }
    return writeListing("-", bytes) ? 0 : 1;
  }
  struct sigaction action = {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);
  return serve(o);
}
