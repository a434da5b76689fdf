#include "vomtel/requests/call/make_call.h"

#include "vomtel/requests/call/call_request.h"

namespace vomtel {

namespace {

// The openings of the five logged fields, which differ between the plain call and the others.
struct MakeCallLog {
  std::string_view calling, called, uui, acc, auth;
};

constexpr MakeCallLog kPlainLog{"\t\tcallingDN\t\t[", "\t\tcalledDN\t\t[", "\t\tUUI\t         \t[",
                                "\t\taccCode\t\t[", "\t\tauthCode\t\t["};
constexpr MakeCallLog kKindLog{"\t\tCallingDN\t\t[", "\t\tCalledDN\t\t[",
                               "\t\tUUI\t         \t[", "\t\taccCode\t         \t[",
                               "\t\tauthCode\t\t\t\t     \t["};

int MakeCallOfKind(OrbaAdapter& adapter, const CallShape& shape, const MakeCallLog& names,
                   std::uint8_t kind, std::string_view callingDN, std::string_view calledDN,
                   std::string_view UUI, std::string_view accCode, std::string_view authCode,
                   std::string_view UEI, std::string_view CI, int gate) {
  return Guarded([&] {
    return RunCall(adapter, gate,
                   {shape,
                    {{UUI, kUuiLimit}, {UEI, kDataLimit}, {CI, kCiLimit}},
                    {Str8{callingDN}, Str8{calledDN}, Str8{UUI}, Str8{accCode}, Str8{authCode},
                     Str16{UEI}, Str16{CI}, U8(kind)},
                    {{names.calling, Masked(callingDN)},
                     {names.called, Masked(calledDN)},
                     {names.uui, Shown(UUI)},
                     {names.acc, Shown(accCode)},
                     {names.auth, Shown(authCode)}}});
  });
}

}  // namespace

int MakeCall(OrbaAdapter& adapter, std::string_view callingDN, std::string_view calledDN,
             std::string_view UUI, std::string_view accCode, std::string_view authCode,
             std::string_view UEI, std::string_view CI, int gate) {
  return MakeCallOfKind(adapter, shape::kMakeCall, kPlainLog, 0, callingDN, calledDN, UUI,
                        accCode, authCode, UEI, CI, gate);
}

int ObservationCall(OrbaAdapter& adapter, std::string_view callingDN, std::string_view calledDN,
                    std::string_view UUI, std::string_view accCode, std::string_view authCode,
                    std::string_view UEI, std::string_view CI, int gate) {
  return MakeCallOfKind(adapter, shape::kObservationCall, kKindLog, 1, callingDN, calledDN, UUI,
                        accCode, authCode, UEI, CI, gate);
}

int ObservationTalkCall(OrbaAdapter& adapter, std::string_view callingDN,
                        std::string_view calledDN, std::string_view UUI,
                        std::string_view accCode, std::string_view authCode,
                        std::string_view UEI, std::string_view CI, int gate) {
  return MakeCallOfKind(adapter, shape::kObservationTalkCall, kKindLog, 2, callingDN, calledDN,
                        UUI, accCode, authCode, UEI, CI, gate);
}

int WhisperCall(OrbaAdapter& adapter, std::string_view callingDN, std::string_view calledDN,
                std::string_view UUI, std::string_view accCode, std::string_view authCode,
                std::string_view UEI, std::string_view CI, int gate) {
  return MakeCallOfKind(adapter, shape::kWhisperCall, kKindLog, 3, callingDN, calledDN, UUI,
                        accCode, authCode, UEI, CI, gate);
}

}  // namespace vomtel
