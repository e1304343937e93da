// tq587-virtual-printer - a receipt printer on a pseudo-terminal and on
// the USB stand-in.
//
// It links the terminal as DIR/dosdevices/comN, where the driver looks for
// COMN, and listens for the libusb stand-in on a Unix socket. It answers the
// status requests at its line speed, records every byte it receives, draws
// every receipt as a PNG file and, when it stops, writes a decoded listing.
// --render draws a recording the same way, --decode lists one; --web serves
// a page that shows each receipt while it prints and changes the printer's
// faults (web/); --help tells every option.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "EscPosDecoder.h"
#include "FaultControls.h"
#include "Glyphs.h"
#include "LiveReceipts.h"
#include "Options.h"
#include "ReceiptFiles.h"
#include "ReceiptRenderer.h"
#include "StatusResponder.h"
#include "UsbPort.h"
#include "WebServer.h"

namespace {

// Set by the signal handler, read by the thread that serves the ports.
std::atomic<bool> gStop{false};
static_assert(std::atomic<bool>::is_always_lock_free, "gStop is set in a signal handler");

void onSignal(int) { gStop = true; }

// SIGINT, SIGTERM and SIGHUP stop the printer; a reader gone (a page
// closed, a line hung up) is no reason to stop.
void catchSignals() {
  struct sigaction action = {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);
}

using vprinter::Options;

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

// Reads a whole file; on failure says why on standard error.
bool readFile(const std::string& path, std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) {
    std::fprintf(stderr, "tq587-virtual-printer: cannot read %s: %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  uint8_t chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  const bool failed = std::ferror(f) != 0;
  if (failed) std::fprintf(stderr, "tq587-virtual-printer: cannot read %s: %s\n", path.c_str(), std::strerror(errno));
  std::fclose(f);
  return !failed;
}

// The listing of bytes, then the notes of the renderer, each as "== note".
bool writeListing(const std::string& path, const std::vector<uint8_t>& bytes,
                  const std::vector<std::string>& notes) {
  FILE* f = path == "-" ? stdout : std::fopen(path.c_str(), "w");
  if (f == nullptr) {
    std::fprintf(stderr, "tq587-virtual-printer: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  for (const std::string& line : vprinter::listingWithNotes(bytes.data(), bytes.size(), notes)) {
    std::fprintf(f, "%s\n", line.c_str());
  }
  return f == stdout ? std::fflush(f) == 0 : std::fclose(f) == 0;
}

// What the printer does with every byte it receives, on any port: records
// it, keeps it for the listing and draws it, one PNG file per receipt, and
// shows it on the live page when there is one.
class Printer {
 public:
  Printer(const std::string& outDir, int record, vprinter::LiveReceipts* live)
      : glyphs_(TQ587_FONT_FILE),
        files_(outDir),
        renderer_(glyphs_,
                  [this](const vprinter::Bitmap& receipt) {
                    const std::string file = files_.write(receipt);
                    std::printf("receipt %s\n", file.c_str());
                    std::fflush(stdout);
                    if (live_ != nullptr) live_->cut(receipt, file, renderer_.notes());
                    drawnLength_ = 0;
                  }),
        record_(record),
        live_(live) {
    if (!glyphs_.error().empty()) std::fprintf(stderr, "tq587-virtual-printer: %s\n", glyphs_.error().c_str());
  }

  // Bytes that came in on link ("COM1 at 9600 bit/s", "USB").
  void take(const std::string& link, const uint8_t* bytes, size_t length) {
    if (record_ >= 0 && !writeAll(record_, bytes, length)) {
      std::fprintf(stderr, "tq587-virtual-printer: recording failed: %s\n", std::strerror(errno));
    }
    received_.insert(received_.end(), bytes, bytes + length);
    if (live_ == nullptr) return renderer_.receive(bytes, length);
    // One byte at a time, so that each receipt on the page ends with the
    // command that cut it.
    for (size_t k = 0; k < length; ++k) {
      live_->add(link, bytes[k]);
      renderer_.receive(bytes + k, 1);
    }
    // The paper is copied and encoded again only when it grew: one byte at
    // a time on a serial line, most bytes only add to the line not yet
    // printed.
    const int paperLength = renderer_.onPaperLength();
    if (paperLength == drawnLength_) return live_->draw(nullptr, renderer_.notes());
    drawnLength_ = paperLength;
    const vprinter::Bitmap paper = renderer_.onPaper();
    live_->draw(&paper, renderer_.notes());
  }

  // The stream ended: the receipt on the paper is written.
  void finish() {
    renderer_.finish();
    if (live_ != nullptr) live_->end(renderer_.notes());
  }

  bool writeListing(const std::string& path) const {
    return ::writeListing(path, received_, renderer_.notes());
  }

 private:
  vprinter::Glyphs glyphs_;
  vprinter::ReceiptFiles files_;
  vprinter::ReceiptRenderer renderer_;
  std::vector<uint8_t> received_;
  int record_;
  vprinter::LiveReceipts* live_;
  int drawnLength_ = 0;  // of the paper last shown on the live page
};

// Bytes that came in on one link ("COM1 at 9600 bit/s", "USB").
struct Arrival {
  std::string link;
  std::vector<uint8_t> bytes;
};

// The bytes the ports took, on their way from the thread that serves the
// ports to the one that draws them, in the order they came.
class Inbox {
 public:
  void put(const std::string& link, const uint8_t* bytes, size_t length) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (arrivals_.empty() || arrivals_.back().link != link) arrivals_.push_back({link, {}});
    arrivals_.back().bytes.insert(arrivals_.back().bytes.end(), bytes, bytes + length);
    changed_.notify_one();
  }

  // No more bytes come.
  void close() {
    const std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    changed_.notify_one();
  }

  // Waits for bytes and hands over all there are; false once it is closed
  // and every byte was handed over.
  bool take(std::vector<Arrival>& arrivals) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !arrivals_.empty() || closed_; });
    arrivals.clear();
    arrivals.swap(arrivals_);
    return !arrivals.empty();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Arrival> arrivals_;
  bool closed_ = false;
};

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
  ~Terminal() { hangUp(); }

  // Closes the line and removes the link: the driver's writes fail from now on.
  void hangUp() {
    unlink();
    if (keep_ >= 0) close(keep_);
    if (master_ >= 0) close(master_);
    keep_ = master_ = -1;
  }
  bool up() const { return master_ >= 0; }

  bool open(const std::string& dir, int port) {
    name_ = "COM" + std::to_string(port);
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
  // "COM1", as the driver knows the port.
  const std::string& name() const { return name_; }
  const std::string& link() const { return link_; }
  const std::string& device() const { return device_; }

 private:
  static bool fail(const char* what) {
    std::fprintf(stderr, "tq587-virtual-printer: %s: %s\n", what, std::strerror(errno));
    return false;
  }

  int master_ = -1;
  int keep_ = -1;
  std::string name_;
  std::string device_;
  std::string link_;
};

// The serial line's faults as they play out: the bytes still taken before
// the line is hung up, and the status replies on their way back.
struct LineFaults {
  long bytesLeft;  // -1: never hang up
  double delay;    // seconds before a reply leaves
  struct Reply {
    double due;
    long speed;
    std::vector<uint8_t> bytes;
  };
  std::deque<Reply> replies;
};

// Sends the replies whose time has come. One asked at another line speed
// than the line runs at now is lost, as the driver would hear only noise.
void sendDueReplies(Terminal& terminal, LineFaults& faults) {
  while (!faults.replies.empty() && faults.replies.front().due <= now()) {
    const LineFaults::Reply& r = faults.replies.front();
    if (terminal.up() && terminal.lineSpeed() == r.speed) writeAll(terminal.master(), r.bytes.data(), r.bytes.size());
    faults.replies.pop_front();
  }
}

// Reads what is waiting on the terminal, puts it in the inbox and answers
// the status requests. Returns false when nothing was there.
bool takeInput(Terminal& terminal, vprinter::StatusResponder& responder, Inbox& inbox, LineFaults& faults) {
  uint8_t chunk[4096];
  const ssize_t got = terminal.up() ? read(terminal.master(), chunk, sizeof chunk) : 0;
  if (got <= 0) return false;
  size_t length = static_cast<size_t>(got);
  if (faults.bytesLeft >= 0) {
    length = std::min(length, static_cast<size_t>(faults.bytesLeft));
    faults.bytesLeft -= static_cast<long>(length);
  }
  const long speed = terminal.lineSpeed();
  inbox.put(terminal.name() + (speed > 0 ? " at " + std::to_string(speed) + " bit/s" : ""), chunk, length);
  std::vector<uint8_t> replies;
  responder.receive(chunk, length, speed, replies);
  if (faults.bytesLeft == 0) terminal.hangUp();
  if (!replies.empty()) faults.replies.push_back({now() + faults.delay, speed, replies});
  sendDueReplies(terminal, faults);
  return true;
}

bool announceReady(const Options& o, const Terminal* terminal, const vprinter::WebServer& web) {
  if (terminal != nullptr) std::printf("ready %s -> %s\n", terminal->link().c_str(), terminal->device().c_str());
  if (!o.usb.empty()) std::printf("ready usb %s\n", o.usb.c_str());
  if (!web.url().empty()) std::printf("web %s\n", web.describe().c_str());
  std::fflush(stdout);
  if (o.readyFile.empty()) return true;
  const std::string temporary = o.readyFile + ".tmp";
  FILE* f = std::fopen(temporary.c_str(), "w");
  if (f == nullptr) return false;
  std::fprintf(f, "%s\n", terminal != nullptr ? terminal->link().c_str() : o.usb.c_str());
  return std::fclose(f) == 0 && std::rename(temporary.c_str(), o.readyFile.c_str()) == 0;
}

// Receipts go to --out, else beside the ports.
std::string outDir(const Options& o) {
  if (!o.out.empty()) return o.out;
  return o.dir.empty() ? "." : o.dir;
}

vprinter::UsbPort::Faults usbFaults(const Options& o) {
  return {o.usbWriteError, o.usbWriteTimeout, o.usbGoneAfter, o.usbBackAfterMs};
}

// Plays the faults the live page set, from now on. A line that was hung
// up comes back when the page sets when to hang up.
void playPageFaults(const Options& o, vprinter::FaultControls& controls, Terminal* terminal,
                    vprinter::StatusResponder& responder, LineFaults& faults, vprinter::UsbPort& usb) {
  Options page;
  std::set<std::string> set;
  if (controls.take(page, set)) {
    responder.play(page.silent, page.statusReply);
    faults.delay = static_cast<double>(page.statusDelayMs) / 1000;
    if (set.count("hang-up-after") != 0) {
      faults.bytesLeft = page.hangUpAfter;
      if (terminal != nullptr && !terminal->up()) terminal->open(o.dir, o.port);
    }
    if (set.count("usb-write-error") != 0 || set.count("usb-write-timeout") != 0) usb.play(usbFaults(page));
  }
  controls.played(terminal == nullptr || terminal->up());
}

// Serves the ports until a signal or --seconds, then takes every byte still
// waiting and closes the inbox. What it takes goes to the inbox only.
void servePorts(const Options& o, Terminal* terminal, vprinter::UsbPort& usb, vprinter::StatusResponder& responder,
                LineFaults& faults, Inbox& inbox, vprinter::FaultControls& controls) {
  const double deadline = o.seconds > 0 ? now() + o.seconds : 0;
  while (!gStop && (deadline == 0 || now() < deadline)) {
    playPageFaults(o, controls, terminal, responder, faults, usb);
    std::vector<pollfd> fds;
    const bool serial = terminal && terminal->up();
    if (serial) fds.push_back({terminal->master(), POLLIN, 0});
    usb.watch(fds);
    // A reply on its way shortens the wait.
    int wait = 50;
    if (!faults.replies.empty()) {
      wait = std::max(0, std::min(wait, static_cast<int>((faults.replies.front().due - now()) * 1000)));
    }
    const int ready = poll(fds.data(), fds.size(), wait);
    if (serial) sendDueReplies(*terminal, faults);
    if (ready <= 0) continue;
    if (serial && fds[0].revents != 0) {
      // a hung-up line: wait rather than spin
      if (!(fds[0].revents & POLLIN) || !takeInput(*terminal, responder, inbox, faults)) usleep(20000);
    }
    usb.serve(fds);
  }
  if (terminal) {
    // Stopping: the link goes first so that no driver opens the port
    // again, then every byte still waiting is taken.
    terminal->unlink();
    while (takeInput(*terminal, responder, inbox, faults)) {
    }
  }
  inbox.close();
}

// Plays the printer on its ports until a signal or --seconds. A thread of
// its own serves the ports and does nothing else, so that, as a real
// printer, it takes the line and answers status requests while this one
// draws what it took.
int play(const Options& o, Printer& printer, vprinter::LiveReceipts& live) {
  std::unique_ptr<Terminal> terminal;
  if (!o.dir.empty()) {
    terminal.reset(new Terminal);
    if (!terminal->open(o.dir, o.port)) return 1;
  }
  vprinter::StatusResponder responder(o.speed, o.silent, o.statusReply);
  LineFaults faults{o.hangUpAfter, static_cast<double>(o.statusDelayMs) / 1000, {}};
  Inbox inbox;
  // USB has no line speed: the printer answers as at its own.
  vprinter::UsbPort usb(
      [&](const uint8_t* bytes, size_t length, std::vector<uint8_t>& replies) {
        inbox.put("USB", bytes, length);
        responder.receive(bytes, length, o.speed, replies);
      },
      usbFaults(o), o.usbFrameUs);
  std::string error;
  if (!o.usb.empty() && !usb.listen(o.usb, error)) {
    std::fprintf(stderr, "tq587-virtual-printer: %s\n", error.c_str());
    return 1;
  }
  vprinter::FaultControls controls(o, live);
  vprinter::WebServer web(live, &controls);
  if (o.webPort >= 0 && !web.start(o.webAddress, o.webPort, error)) {
    std::fprintf(stderr, "tq587-virtual-printer: %s\n", error.c_str());
    return 1;
  }
  if (!announceReady(o, terminal.get(), web)) return 1;
  std::thread ports([&] { servePorts(o, terminal.get(), usb, responder, faults, inbox, controls); });
  for (std::vector<Arrival> arrivals; inbox.take(arrivals);) {
    for (const Arrival& a : arrivals) printer.take(a.link, a.bytes.data(), a.bytes.size());
  }
  ports.join();
  return 0;
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
  int status = 0;
  {
    vprinter::LiveReceipts live;
    Printer printer(outDir(o), record, o.webPort >= 0 ? &live : nullptr);
    status = play(o, printer, live);
    printer.finish();
    if (status == 0 && !o.listing.empty() && !printer.writeListing(o.listing)) status = 1;
  }
  if (record >= 0) close(record);
  return status;
}

// --render with --web: the page shows the recording until a signal or
// --seconds.
int showRecording(const Options& o, vprinter::LiveReceipts& live) {
  live.setPrinter("{\"recording\":" + vprinter::jsonString(o.render) + "}");
  vprinter::WebServer web(live, nullptr);
  std::string error;
  if (!web.start(o.webAddress, o.webPort, error)) {
    std::fprintf(stderr, "tq587-virtual-printer: %s\n", error.c_str());
    return 1;
  }
  std::printf("web %s\n", web.describe().c_str());
  std::fflush(stdout);
  catchSignals();
  const double deadline = o.seconds > 0 ? now() + o.seconds : 0;
  while (!gStop && (deadline == 0 || now() < deadline)) usleep(50000);
  return 0;
}

// --render: the receipts and the listing of a recording.
int render(const Options& o) {
  std::vector<uint8_t> bytes;
  if (!readFile(o.render, bytes)) return 1;
  vprinter::LiveReceipts live;
  Printer printer(outDir(o), -1, o.webPort >= 0 ? &live : nullptr);
  printer.take("recording " + o.render, bytes.data(), bytes.size());
  printer.finish();
  if (!printer.writeListing(o.listing.empty() ? "-" : o.listing)) return 1;
  return o.webPort >= 0 ? showRecording(o, live) : 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  std::string error;
  if (!vprinter::parseOptions(std::vector<std::string>(argv + 1, argv + argc), o, error)) {
    std::fprintf(stderr, "tq587-virtual-printer: %s\n(tq587-virtual-printer --help lists the options)\n",
                 error.c_str());
    return 2;
  }
  if (o.help) {
    std::fputs(vprinter::usageText(), stdout);
    return 0;
  }
  if (!o.decode.empty()) {
    std::vector<uint8_t> bytes;
    if (!readFile(o.decode, bytes)) return 1;
    return writeListing("-", bytes, {}) ? 0 : 1;
  }
  if (!o.render.empty()) return render(o);
  catchSignals();
  return serve(o);
}
