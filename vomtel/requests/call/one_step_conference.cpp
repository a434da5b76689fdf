#include "vomtel/requests/call/one_step_conference.h"

#include <chrono>
#include <string>

#include "vomtel/core/established_waiters.h"
#include "vomtel/requests/call/answer_clear_hold.h"
#include "vomtel/requests/call/call_request.h"
#include "vomtel/requests/call/consultation_request.h"
#include "vomtel/requests/call/consultation_transfer.h"

namespace vomtel {

namespace {

constexpr std::string_view kOutcomeName = "vomtelOneStepConference";

// The wait for the device's established event on the request's link, armed for the life of
// the object; it ends early when that link ends.
class ArmedWait {
 public:
  ArmedWait(std::string_view device, std::uint64_t link)
      : waiters_(EstablishedWaiters::Instance()),
        token_(waiters_.Arm(std::string(device), link)) {}
  ~ArmedWait() { waiters_.Disarm(token_); }
  ArmedWait(const ArmedWait&) = delete;
  ArmedWait& operator=(const ArmedWait&) = delete;

  bool Wait(std::chrono::steady_clock::time_point deadline) {
    return waiters_.Wait(token_, deadline);
  }

 private:
  EstablishedWaiters& waiters_;
  const EstablishedWaiters::Token token_;
};

std::string FailLine(std::string_view step, std::int32_t result) {
  return "vomtelOneStepConference - " + std::string(step) + " Fail[" + std::to_string(result) +
         "]";
}

}  // namespace

int OneStepConference(OrbaAdapter& adapter, std::string_view DN, std::uint32_t call,
                      std::string_view calledDN, std::string_view UUI, std::string_view UEI,
                      std::string_view CI, int gate) {
  return Guarded([&] {
    RequestExchange exchange(adapter, gate);
    if (const int checked = CheckConsultation(exchange, UUI, UEI, CI); checked != kOk) {
      return checked;
    }

    ArmedWait established(DN, exchange.HasSession() ? exchange.Session().Connection() : 0);
    const int exchanged = ExchangeConsultation(exchange, shape::kOneStepConsultation, DN, call,
                                               calledDN, UUI, "", "", UEI, CI);
    if (exchanged != kOk) return exchanged;
    const auto consulted = static_cast<std::int32_t>(exchange.Result());
    if (consulted != kOk) {
      exchange.LogWith([&] { return FailLine("Consultation", consulted); });
      return static_cast<int>(consulted);
    }
    std::uint32_t consultationCall = 0;
    exchange.Reply().GetU32(consultationCall);
    exchange.Finish();  // the wait and the next requests run without the exchange lock

    const auto deadline = std::chrono::steady_clock::now() + exchange.GetTimings().conferenceWait;
    if (!established.Wait(deadline)) {
      ClearConnectionCall(adapter, DN, consultationCall, gate);
      const int retrieved = RetrieveCall(adapter, DN, call, gate);
      return retrieved == kOk ? static_cast<int>(kTimeout) : retrieved;
    }

    std::uint16_t number = 0;
    const int conferred = ConferenceCall(adapter, DN, call, calledDN, consultationCall, gate, &number);
    if (conferred != kOk) {
      exchange.LogWith([&] { return FailLine("Conference", conferred); });
      return conferred;
    }
    exchange.LogWith([&] { return OutcomeLine(kOutcomeName, kOk, number); });
    return static_cast<int>(kOk);
  });
}

}  // namespace vomtel
