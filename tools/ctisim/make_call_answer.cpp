#include "tools/ctisim/make_call_answer.h"

#include <utility>

#include "tools/ctisim/call_events.h"
#include "tools/ctisim/frame.h"
#include "tools/ctisim/frame_reader.h"
#include "tools/ctisim/sim_server.h"

namespace ctisim {

ReplyRule MakeCallRule(SimServer& sim, MakeCallEvents events,
                       std::function<std::uint8_t(int connection)> version_of) {
  ReplyRule rule;
  rule.hook = [&sim, events, version_of = std::move(version_of)](const Request& r) {
    FrameReader body = r.Fields();
    CallParties parties;
    parties.monitored = body.GetStr8();
    parties.other = body.GetStr8();
    parties.call_id = 1000u + r.number;
    parties.version = version_of(r.connection);
    // Batches of one connection go out in order of their due time: the reply, due now, is
    // queued first, and every event is due later than it.
    for (Bytes& frame : BuildAnswer(r, ReplyRule{}, OpenDefaults{})) {
      sim.Send(std::move(frame), r.connection);
    }
    static constexpr std::uint8_t kSequence[] = {kEventOriginated, kEventDelivered,
                                                 kEventEstablished, kEventConnectionCleared};
    for (int i = 0; i < events.count; ++i) {
      const std::uint8_t code = kSequence[i % 4];
      EventHead head;
      head.version = parties.version;
      SendShape shape;
      shape.delay = events.spacing * (i + 1);
      sim.PushEvent(code, CallEventBody(code, parties), head, r.connection, shape);
    }
    return std::vector<Bytes>{};  // answered above
  };
  return rule;
}

}  // namespace ctisim
