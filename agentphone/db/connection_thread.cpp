#include "agentphone/db/connection_thread.h"

#include <QEventLoop>
#include <QTimer>

#include "agentphone/db/sql_connection.h"

namespace agentphone::db {

struct ConnectionThread::Job {
  Work work;
  Done done;
  // Guarded by the owner's mutex.
  bool started = false;
  bool finished = false;
  bool dropped = false;           // given up by its waiter before it began
  QEventLoop* waiter = nullptr;   // the loop waiting for it, while it waits
  lists::SqlResult result;
};

namespace {

std::chrono::milliseconds AnswerWaitOf(const lists::ConnectionSetting& setting) {
  const int seconds = setting.queryTimeoutSeconds > 0 ? setting.queryTimeoutSeconds
                                                      : lists::kDefaultQueryTimeoutSeconds;
  return std::chrono::seconds(seconds);
}

}  // namespace

ConnectionThread::ConnectionThread(std::string name, lists::ConnectionSetting setting,
                                   std::function<std::string()> today,
                                   std::chrono::milliseconds quietWait)
    : name_(std::move(name)),
      setting_(std::move(setting)),
      today_(std::move(today)),
      quietWait_(quietWait),
      answerWait_(AnswerWaitOf(setting_)),
      answers_(std::make_unique<QObject>()),
      thread_([this] { Run(); }) {}

ConnectionThread::~ConnectionThread() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  work_.notify_all();
  thread_.join();
  answers_.reset();  // answers not yet heard go with it
}

lists::SqlResult ConnectionThread::Query(const lists::Statement& statement) {
  return Wait([statement](SqlConnection& c) { return c.Query(statement); });
}

lists::SqlResult ConnectionThread::Execute(const lists::Statement& statement) {
  return Wait([statement](SqlConnection& c) { return c.Execute(statement); });
}

bool ConnectionThread::Post(lists::Statement statement, bool rows, Done done) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (posted_ && !posted_->finished) return false;
  }
  Work work = [statement = std::move(statement), rows](SqlConnection& c) {
    return rows ? c.Query(statement) : c.Execute(statement);
  };
  std::shared_ptr<Job> job = Queue(std::move(work), std::move(done));
  std::lock_guard<std::mutex> lock(mutex_);
  posted_ = std::move(job);
  return true;
}

void ConnectionThread::Open(std::function<void(const std::string&)> done) {
  Queue(
      [](SqlConnection& c) {
        lists::SqlResult r;
        r.ok = c.Open(&r.error);
        return r;
      },
      [done = std::move(done)](const lists::SqlResult& r) {
        if (done) done(r.ok ? std::string() : r.error);
      });
}

std::shared_ptr<ConnectionThread::Job> ConnectionThread::Queue(Work work, Done done) {
  auto job = std::make_shared<Job>();
  job->work = std::move(work);
  job->done = std::move(done);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back(job);
  }
  work_.notify_one();
  return job;
}

lists::SqlResult ConnectionThread::Wait(Work work) {
  const auto deadline = std::chrono::steady_clock::now() + answerWait_;
  std::shared_ptr<Job> job = Queue(std::move(work), {});
  std::unique_lock<std::mutex> lock(mutex_);
  if (!finished_.wait_for(lock, quietWait_, [&] { return job->finished; })) {
    // Longer than a moment: the caller's events run (and the window says that it waits) until
    // the answer comes or the wait is over.
    lock.unlock();
    const lists::WaitNotice notice = notice_;
    if (notice) notice(true);
    {
      QEventLoop loop;
      QTimer timer;
      timer.setSingleShot(true);
      timer.setTimerType(Qt::PreciseTimer);
      QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      lock.lock();
      if (!job->finished && left.count() > 0) {
        job->waiter = &loop;
        lock.unlock();
        timer.start(left);
        loop.exec();
        lock.lock();
        job->waiter = nullptr;
      }
      lock.unlock();
    }
    if (notice) notice(false);
    lock.lock();
  }
  if (job->finished) return std::move(job->result);
  job->dropped = true;
  lists::SqlResult r;
  r.error = "no answer from the database within " +
            std::to_string(std::chrono::duration_cast<std::chrono::seconds>(answerWait_).count()) +
            " s";
  return r;
}

void ConnectionThread::Run() {
  // Made, used and closed on this thread only.
  SqlConnection connection(name_, setting_, today_);
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    work_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
    if (stopping_) break;
    std::shared_ptr<Job> job = std::move(queue_.front());
    queue_.pop_front();
    if (job->dropped) continue;
    job->started = true;
    lock.unlock();
    lists::SqlResult result = job->work(connection);
    lock.lock();
    job->finished = true;
    if (job->waiter) {
      QEventLoop* waiter = job->waiter;
      QMetaObject::invokeMethod(waiter, [waiter] { waiter->quit(); }, Qt::QueuedConnection);
    }
    if (job->done) {
      QMetaObject::invokeMethod(
          answers_.get(), [done = job->done, result] { done(result); }, Qt::QueuedConnection);
    }
    job->result = std::move(result);
    finished_.notify_all();
  }
  queue_.clear();
}

}  // namespace agentphone::db
