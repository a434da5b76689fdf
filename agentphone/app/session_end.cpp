#include "agentphone/app/session_end.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QSocketNotifier>
#include <atomic>
#include <cerrno>

namespace agentphone::app {
namespace {

constexpr int kEndSignals[] = {SIGTERM, SIGHUP};

// The pipe's writing end, for the handler (which may run on any thread).
std::atomic<int> g_wakeFd{-1};
static_assert(std::atomic<int>::is_always_lock_free, "read in a signal handler");

void OnEndSignal(int signo) {
  const int saved = errno;
  const unsigned char byte = static_cast<unsigned char>(signo);
  [[maybe_unused]] const ssize_t written = ::write(g_wakeFd.load(), &byte, 1);
  errno = saved;
}

void DefaultSignals() {
  for (int s : kEndSignals) ::signal(s, SIG_DFL);
}

}  // namespace

// The pipe with its notifier, and the filter that sees a request to quit.
class SessionEnd::Watch final : public QObject {
 public:
  explicit Watch(SessionEnd& owner) : owner_(owner) {
    QCoreApplication::instance()->installEventFilter(this);
    if (::pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0) return;
    g_wakeFd.store(fds_[1]);
    notifier_ = std::make_unique<QSocketNotifier>(fds_[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { Drain(); });
    struct sigaction action = {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;  // the library's threads are not interrupted
    for (int s : kEndSignals) ::sigaction(s, &action, nullptr);
  }

  ~Watch() override {
    DefaultSignals();
    g_wakeFd.store(-1);
    notifier_.reset();
    for (int fd : fds_) {
      if (fd >= 0) ::close(fd);
    }
  }

 private:
  void Drain() {
    int last = 0;
    unsigned char byte = 0;
    while (::read(fds_[0], &byte, 1) == 1) last = byte;
    if (last == SIGTERM) owner_.End("SIGTERM");
    if (last == SIGHUP) owner_.End("SIGHUP");
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    // The quit that follows the window's own close finds it closed; one that comes while it is
    // open comes from outside (the session manager) and would close it with the question.
    if (event->type() == QEvent::Quit && watched == QCoreApplication::instance() &&
        owner_.windowOpen_()) {
      owner_.End("quit request");
      return true;
    }
    return false;
  }

  SessionEnd& owner_;
  int fds_[2] = {-1, -1};
  std::unique_ptr<QSocketNotifier> notifier_;
};

SessionEnd::SessionEnd(WindowOpen windowOpen, EndDesk endDesk)
    : windowOpen_(std::move(windowOpen)), endDesk_(std::move(endDesk)) {
  watch_ = std::make_unique<Watch>(*this);
}

SessionEnd::~SessionEnd() { watch_.reset(); }

void SessionEnd::End(std::string cause) {
  if (!cause_.empty()) return;
  cause_ = std::move(cause);
  DefaultSignals();
  // every loop ends, the nested ones of open dialogs too; the shut-down runs in Run
  QCoreApplication::exit(0);
}

int SessionEnd::Run() {
  // A signal heard during the start (inside a message box's loop) ends the desk at once: a new
  // loop would forget the request to end.
  const int status = cause_.empty() ? QCoreApplication::exec() : 0;
  if (cause_.empty()) return status;
  if (windowOpen_()) endDesk_(cause_);
  return 0;
}

}  // namespace agentphone::app
