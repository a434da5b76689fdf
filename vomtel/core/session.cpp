#include "vomtel/core/session.h"

#include <algorithm>
#include <string>

#include "vomtel/core/frame.h"
#include "vomtel/core/result_codes.h"
#include "vomtel/core/socket_service.h"

namespace vomtel {

namespace {

constexpr std::uint8_t kSessionClass = 0x45;
constexpr std::uint8_t kMonitorClass = 0x42;
constexpr std::uint8_t kOpenCode = 0x46;
constexpr std::uint8_t kCloseCode = 0x1E;
constexpr std::uint8_t kMonitorStartCode = 0x1E;
constexpr std::uint8_t kMonitorStopCode = 0x28;
constexpr std::uint8_t kAddDeviceCode = 0x0A;
constexpr std::uint8_t kRemoveDeviceCode = 0x50;
constexpr std::size_t kStr8Max = 255;

constexpr std::size_t kReplyVersionOffset = 5;
constexpr std::size_t kReplySessionIdOffset = 12;
constexpr std::size_t kReplyActiveFlagOffset = 22;

void Stamp(Stream& frame, std::uint8_t version, std::uint16_t headerWord) {
  if (frame.Size() < kRequestHeadSize) return;
  std::uint8_t* data = frame.Data();
  data[5] = version;
  data[6] = static_cast<std::uint8_t>(headerWord >> 8);
  data[7] = static_cast<std::uint8_t>(headerWord & 0xFF);
}

std::uint32_t ReadU32At(Stream& frame, std::size_t offset) {
  std::uint32_t value = 0;
  frame.Seek(offset);
  frame.GetU32(value);
  return value;
}

}  // namespace

CSession::CSession(std::uint16_t port, std::uint8_t ext, std::string ip, std::string dn,
                   std::string app, const Timings& timings)
    : ext_(ext),
      port_(port),
      ip_(std::move(ip)),
      dn_(std::move(dn)),
      app_(std::move(app)),
      timings_(timings) {
  logger_.SetName(ip_);
  logger_.SetDn(dn_);
  socket_ = std::make_unique<CSocket>(logger_, timings_);
  exchange_mutex_.Attach(socket_->RecvQueue());
}

CSession::~CSession() {
  EndLoop();
  socket_->StopService();
}

bool CSession::EndLoop() {
  std::thread loop;
  bool first = false;
  {
    std::lock_guard<std::mutex> lock(loop_mutex_);
    first = !closed_;
    closed_ = true;
    loop = std::move(reconnect_);
  }
  loop_wake_.notify_all();
  if (loop.joinable()) loop.join();
  return first;
}

void CSession::SetState(SessionState state) {
  {
    std::lock_guard<std::mutex> lock(state_mutex_);
    state_ = state;
  }
  if (signal_) signal_->Ring();
}

std::optional<FailoverStep> CSession::Apply(FailoverEvent event, std::uint64_t connection) {
  std::optional<FailoverStep> step;
  {
    std::lock_guard<std::mutex> lock(state_mutex_);
    // A notice of an earlier connection (a failed attempt), or of the link an open ends to
    // make a new one, does not concern the session.
    if (event == FailoverEvent::kLinkLost &&
        (connection != socket_->Connection() || connection == replaced_connection_)) {
      return step;
    }
    const SessionState state = state_;
    const FailoverStep next = NextStep(state, event, open_mode_ == SessionMode::kHa);
    if (next.next == state && !next.promoteStandby && !next.reconnect) return step;
    state_ = next.next;
    step = next;
  }
  if (signal_) signal_->Ring();
  return step;
}

bool CSession::Stopped() const { return socket_->Stopped(); }

std::uint64_t CSession::Connection() const { return socket_->Connection(); }

std::vector<DeviceEntry> CSession::Devices() const {
  std::lock_guard<std::mutex> lock(devices_mutex_);
  return devices_;
}

ExchangeLock CSession::LockExchange() { return ExchangeLock(exchange_mutex_); }

void ExchangeMutex::lock() {
  mutex_.lock();
  if (queue_ != nullptr) queue_->SetAnswering(true);
}

bool ExchangeMutex::try_lock() {
  if (!mutex_.try_lock()) return false;
  if (queue_ != nullptr) queue_->SetAnswering(true);
  return true;
}

void ExchangeMutex::unlock() {
  if (queue_ != nullptr) queue_->SetAnswering(false);
  mutex_.unlock();
}

int CSession::ReadReply(Stream& out, std::chrono::milliseconds wait,
                        const AwaitedReply& awaited) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    const int result =
        socket_->ReadReply(out, std::max(left, std::chrono::milliseconds(0)));
    if (result != kOk) return result;
    const ReplyVerdict verdict = given_up_.Judge(out, awaited);
    if (verdict == ReplyVerdict::kTake) return kOk;
    LogDropped(verdict, out);
    // Late replies that are always queued already must not carry the wait past its end.
    if (std::chrono::steady_clock::now() >= deadline) return kTimeout;
  }
}

void CSession::LogDropped(ReplyVerdict verdict, const Stream& reply) noexcept {
  if (!logger_.Enabled(kLogInfo)) return;
  try {
    WriteDropped(verdict, reply);
  } catch (...) {
    // The line is dropped; the reply is dropped all the same.
  }
}

void CSession::WriteDropped(ReplyVerdict verdict, const Stream& reply) {
  const std::string number = std::to_string(ReplyNumber(reply));
  switch (verdict) {
    case ReplyVerdict::kLateOwn:
      logger_.Write("<CSession::ReadReply>late reply dropped: invoke[" + number + "]", kLogInfo);
      break;
    case ReplyVerdict::kLateRequest:
      logger_.Write("<RequestExchange>late reply dropped: invoke[" + number + "] result[" +
                        std::to_string(ReplyResultWord(reply)) + "]",
                    kLogInfo);
      break;
    case ReplyVerdict::kTake:
      break;
  }
}

int CSession::ReadEvent(Stream& out, std::uint64_t* connection) {
  return socket_->RecvQueue().ReadEvent(out, connection);
}

int CSession::ReadNotice(Stream& out, std::uint64_t* connection) {
  return socket_->RecvQueue().ReadNotice(out, connection);
}

int CSession::ReadListPacket(Stream& out) {
  const int result = socket_->RecvQueue().ReadList(out);
  if (result == kOk && logger_.Enabled(kLogInfo)) {
    logger_.Write("<R0(" + std::to_string(out.Size()) + ")>" +
                      HexDump(out.Data(), static_cast<int>(out.Size())),
                  kLogInfo);
  }
  return result;
}

void CSession::DiscardListPackets() { socket_->RecvQueue().DiscardLists(); }

int CSession::SetLogPath(const std::string& directory, const std::string& folder) {
  return logger_.SetPath(directory, folder) ? 1 : 0;
}

int CSession::Send(Stream& frame) {
  Stamp(frame, version_, header_word_);
  if (socket_->Stopped()) return kNotConnected;
  return socket_->Write(frame);
}

int CSession::Exchange(std::uint8_t cls, std::uint8_t code, std::uint16_t number,
                       const Stream& body, int waitUnits, bool& replied) {
  replied = false;
  StreamPtr frame = BuildRequestFrame(body, cls, code, version_, header_word_);
  if (frame->Failed()) return kTextTooLong;
  const AwaitedReply awaited{AwaitedReply::Kind::kNumbered, cls, code, number};
  given_up_.Forget(awaited);
  int result = Send(*frame);
  Stream reply;
  if (result == kOk) result = ReadReply(reply, timings_.ReplyWait(waitUnits), awaited);
  // A frame not sent in time may still go out whole.
  if (result == kTimeout) given_up_.GiveUp(cls, code, number, true);
  if (result != kOk) return result;
  replied = true;
  std::uint32_t word = 0;
  std::uint16_t echoed = 0;
  ReadReplyHeader(reply, word, echoed);
  return static_cast<int>(word);
}

std::string CSession::OpenLine(std::string_view head) const {
  std::string line(head);
  line += "gate[" + std::to_string(SessionId()) + "] Inv[" + std::to_string(Counter()) + "]\n";
  line += "\t\tdType\t\t[" + std::to_string(DType()) + "]\n";
  line += "\t\text\t\t[" + std::to_string(ext_) + "]\n";
  line += "\t\tDn\t         \t[" + dn_ + "]\n";
  line += "\t\tIp\t\t[" + ip_ + "]\n";
  line += "\t\tPort\t\t[" + std::to_string(port_) + "]\n";
  line += "\t\tdefpbx\t\t[" + std::to_string(HeaderWord()) + "]";
  return line;
}

int CSession::Open(SessionMode mode) {
  auto exchange = LockExchange();
  logger_.Write(OpenLine(" vomtelOpenServer : "), kLogInfo);
  if (dn_.size() > kStr8Max || app_.size() > kStr8Max) return kTextTooLong;
  // A link still up (kept by the reconnect loop after a refused monitor start) ends here,
  // under the exchange lock: no request is cut off between its send and its reply.
  const bool replacing = ReplaceLink();
  bool connected = false;
  try {
    connected = socket_->StartService(ip_, port_);
  } catch (...) {
    if (replacing) LoseReplacedLink();
    throw;
  }
  if (!connected) {
    if (replacing) LoseReplacedLink();
    return kNotConnected;
  }
  given_up_.Clear();  // a new connection: no late reply of the last one can come

  Stream body;
  body.PutU8(DType()).PutU8(ext_).PutStr8(dn_).PutStr8(app_);
  body.PutU16(static_cast<std::uint16_t>(counter_.fetch_add(1)));
  StreamPtr frame = BuildRequestFrame(body, kSessionClass, kOpenCode, version_, header_word_);
  logger_.Write(OpenLine(" vomtelOpenServer StartService After : "), kLogInfo);

  int result = Send(*frame);
  Stream reply;
  if (result == kOk) result = ReadReply(reply, timings_.openWait);
  if (result != kOk) {
    socket_->StopService();
    return result;
  }

  // Version byte, result and session id are taken before the result is looked at.
  version_ = reply.At(kReplyVersionOffset);
  reply.Seek(0);
  const std::uint32_t word = ReadReplyResult(reply);
  session_id_ = ReadU32At(reply, kReplySessionIdOffset);
  if (word != static_cast<std::uint32_t>(kOk)) {
    socket_->StopService();
    return static_cast<int>(word);
  }

  bool active = true;
  if (mode == SessionMode::kHa) {
    const std::uint8_t flag = reply.At(kReplyActiveFlagOffset);
    logger_.Write("active mode[" + std::to_string(flag) + "]\n", kLogInfo);
    active = flag == 1;
  }
  open_mode_ = mode;
  Apply(active ? FailoverEvent::kOpenedActive : FailoverEvent::kOpenedStandby);
  logger_.Write(" vomtelOpenServer [result][invoke] : [1][" + std::to_string(Counter()) + "]\n",
                kLogInfo);
  return kOk;
}

bool CSession::ReplaceLink() {
  {
    std::lock_guard<std::mutex> lock(state_mutex_);
    if (socket_->Stopped()) return false;
    replaced_connection_ = socket_->Connection();
  }
  socket_->StopService();
  return true;
}

void CSession::LoseReplacedLink() {
  {
    std::lock_guard<std::mutex> lock(state_mutex_);
    replaced_connection_ = 0;
  }
  // No new link: the end of the old one is the session's loss after all, and the event fetch
  // acts on it as on any other (the state goes down, the standby takes over).
  socket_->RecvQueue().PostConnectionLost(socket_->Connection());
}

int CSession::MonitorRequest(std::uint8_t code, std::string_view label, int waitUnits) {
  auto exchange = LockExchange();
  const std::uint16_t counter = NextCounter();
  Stream body;
  body.PutU32(SessionId()).PutU16(counter);
  logger_.Write(std::string(label) + ": gate[" + std::to_string(SessionId()) + "] Inv[" +
                    std::to_string(counter) + "]",
                kLogInfo);
  bool replied = false;
  const int result = Exchange(kMonitorClass, code, counter, body, waitUnits, replied);
  if (replied) {
    // Both outcome lines begin with a blank, the request lines only the start's.
    const std::string name(label.substr(label.find_first_not_of(' ')));
    logger_.Write(" " + name + " [result][invoke] : [" + std::to_string(result) + "][" +
                      std::to_string(counter) + "]\n",
                  kLogInfo);
  }
  return result;
}

int CSession::MonitorStart() { return MonitorRequest(kMonitorStartCode, " vomtelMonitorStart", 1); }

int CSession::MonitorStop() { return MonitorRequest(kMonitorStopCode, "vomtelMonitorStop", 3); }

int CSession::AddDevice(const std::string& dn, std::uint8_t dType, std::uint8_t ext) {
  if (dn.size() > kStr8Max) return kTextTooLong;
  auto exchange = LockExchange();
  const std::uint16_t counter = NextCounter();
  Stream body;
  body.PutU32(SessionId()).PutU16(counter).PutU8(dType).PutU8(ext).PutStr8(dn);
  bool replied = false;
  const int result = Exchange(kSessionClass, kAddDeviceCode, counter, body, 3, replied);
  if (result == kOk) {
    std::lock_guard<std::mutex> lock(devices_mutex_);
    const bool listed = std::any_of(devices_.begin(), devices_.end(),
                                    [&](const DeviceEntry& entry) { return entry.dn == dn; });
    if (!listed) devices_.push_back(DeviceEntry{dn, dType, ext});
  }
  return result;
}

int CSession::RemoveDevice(const std::string& dn) {
  if (dn.size() > kStr8Max) return kTextTooLong;
  auto exchange = LockExchange();
  const std::uint16_t counter = NextCounter();
  Stream body;
  body.PutU32(SessionId()).PutU16(counter).PutStr8(dn);
  bool replied = false;
  const int result = Exchange(kSessionClass, kRemoveDeviceCode, counter, body, 3, replied);
  if (result == kOk) {
    std::lock_guard<std::mutex> lock(devices_mutex_);
    std::erase_if(devices_, [&](const DeviceEntry& entry) { return entry.dn == dn; });
  }
  return result;
}

void CSession::Close() {
  // The reconnect loop first: after it is joined nothing opens this session again.
  const bool first = EndLoop();

  if (first && IsOpen(State())) {
    MonitorStop();
    auto exchange = LockExchange();
    const std::uint16_t counter = NextCounter();
    Stream body;
    body.PutU32(SessionId()).PutU16(counter);
    StreamPtr frame = BuildRequestFrame(body, kSessionClass, kCloseCode, version_, header_word_);
    logger_.Write("<CSession::Close>Send invoke[" + std::to_string(counter) + "]", kLogInfo);
    Send(*frame);
  }
  socket_->StopService();
}

bool CSession::KeepTrying() const {
  std::lock_guard<std::mutex> lock(loop_mutex_);
  return !closed_;
}

void CSession::WaitRetry(std::chrono::steady_clock::time_point deadline) {
  std::unique_lock<std::mutex> lock(loop_mutex_);
  loop_wake_.wait_until(lock, deadline, [&] { return closed_; });
}

void CSession::StartTryOpen(SessionMode mode) {
  std::thread ended;  // an earlier loop that has cleared its flag; joined outside the lock
  {
    std::lock_guard<std::mutex> lock(loop_mutex_);
    if (closed_ || reconnecting_) return;
    ended = std::move(reconnect_);
    reconnecting_ = true;
    try {
      reconnect_ = std::thread([this, mode] { ReconnectLoop(mode); });
    } catch (...) {
      reconnecting_ = false;  // no thread: a later notice tries again
    }
  }
  if (ended.joinable()) ended.join();
}

void CSession::ReconnectLoop(SessionMode mode) noexcept {
  for (;;) {
    try {
      TryOpen(mode);
      return;
    } catch (...) {
      // Whatever threw (a text that could not be built, a thread that could not start), the
      // attempt counts as failed: the loop goes on a retry period later unless it has ended.
    }
    std::unique_lock<std::mutex> lock(loop_mutex_);
    if (closed_ || !reconnecting_) {
      reconnecting_ = false;
      return;
    }
    loop_wake_.wait_for(lock, timings_.retryPeriod, [&] { return closed_; });
    if (closed_) {
      reconnecting_ = false;
      return;
    }
  }
}

void CSession::TryOpen(SessionMode mode) {
  logger_.Write("<CSession::TryOpen>start gate:mode[" + std::to_string(SessionId()) + "][" +
                    std::to_string(static_cast<int>(mode)) + "]",
                kLogDebug);
  for (;;) {
    const auto next = RunAttempts(mode);
    // A connection that ended after the loop succeeded, but whose notice was read while the
    // loop still ran (StartTryOpen then started nothing), is retried here, keeping the period.
    bool again = false;
    {
      std::lock_guard<std::mutex> lock(loop_mutex_);
      again = !closed_ && socket_->Stopped();
      if (!again) reconnecting_ = false;
    }
    if (again) {
      WaitRetry(next);
      continue;
    }
    logger_.Write("<CSession::TryOpen>stop gate:mode[" + std::to_string(SessionId()) + "][" +
                      std::to_string(StateNumber(State())) + "]",
                  kLogDebug);
    return;
  }
}

std::chrono::steady_clock::time_point CSession::RunAttempts(SessionMode mode) {
  auto deadline = std::chrono::steady_clock::now();
  while (KeepTrying()) {
    deadline = std::chrono::steady_clock::now() + timings_.retryPeriod;
    const int opened = Open(mode);
    logger_.Write("<CSession::TryOpen>Open result[" + std::to_string(opened) + "]", kLogVerbose);
    if (opened == kOk) {
      if (!KeepTrying()) return deadline;  // Close waits for this loop and closes what it opened
      const int monitor = MonitorStart();
      logger_.Write("<CSession::TryOpen>Monitor result[" + std::to_string(monitor) + "]",
                    kLogVerbose);
      if (monitor == kOk) {
        for (const DeviceEntry& device : Devices()) {
          const int added = AddDevice(device.dn, device.dType, device.ext);
          logger_.Write("<CSession::TryOpen>AddDevice result[" + std::to_string(added) + "]",
                        kLogVerbose);
        }
        return deadline;
      }
      // The session keeps its state and its link until the next attempt, whose open ends the
      // link first: meanwhile its requests and events go on as before.
    }
    WaitRetry(deadline);
  }
  return deadline;
}

}  // namespace vomtel
