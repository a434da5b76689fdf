#include "agentphone/core/dial_server/dial_request_handler.h"

#include "agentphone/core/text_routines.h"

namespace agentphone {
namespace {

// What of a peer's text goes into a log line: a request may be as long as the read limit.
std::string_view Logged(std::string_view text) {
  return text.substr(0, DialRequestHandler::kLoggedBytes);
}

}  // namespace

DialRequestHandler::DialRequestHandler(SoftPhonePort& phone, std::size_t maxRequestBytes)
    : phone_(phone), maxRequestBytes_(maxRequestBytes) {}

DialOutcome DialRequestHandler::HandleReceived(std::string_view received) {
  std::optional<DialRequest> request;
  if (received.size() <= maxRequestBytes_) request = ParseDialRequest(received);
  if (!request) {
    std::string line = "전문형식이 틀림 [RECV]";
    line.append(Logged(received));
    phone_.WriteLog(line);
    return DialOutcome{std::nullopt, true};
  }
  phone_.WriteLog(std::string("[RECV]").append(Logged(received)));
  const std::string code = Decide(*request);
  std::string reply = BuildDialReply(*request, code);
  phone_.WriteLog(std::string("[SEND]").append(Logged(reply)));
  return DialOutcome{std::move(reply), false};
}

std::string DialRequestHandler::Decide(const DialRequest& request) {
  if (OnlyDigits(request.Number()).size() < 4) return std::string(kDialTooFewDigits);
  const std::string caption = phone_.StatusCaption();
  if (caption == kCaptionLoggedOut) return std::string(kDialLoggedOut);
  if (caption == kCaptionInCall || caption == kCaptionConsultCall) return std::string(kDialInCall);

  std::string number = PrepareDialNumber(request.Number(), request.Type());
  std::string command = "MAKECALL", uui, uei, ci;
  const int32_t result = phone_.Call_Function(command, uui, uei, number, ci);
  if (result != 1) {
    // the call was not placed: the display, the customer key and the peer must not say it was
    phone_.WriteLog("전화걸기 실패  Ret : " + std::to_string(result));
    return std::string(kDialNotPlaced);
  }
  phone_.Vars().gCUSTKEY = request.CustomerKey();
  phone_.ufButtonSet("BUSY");
  return std::string(kDialPlaced);
}

}  // namespace agentphone
