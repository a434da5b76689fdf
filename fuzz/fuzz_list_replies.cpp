// Feeds any bytes, as a received reply frame, to every reader of the service replies, in
// each of the layouts they are read in (behind the reply head, from the first byte, as a list
// frame). A reading must never leave the frame, and a complete reading never claims more
// entries than the frame's bytes could hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "vomtel/core/stream.h"
#include "vomtel/requests/service/list_replies.h"

namespace {

using vomtel::ReplyReader;

// Runs `read` over a fresh reading of the frame behind its 14-byte head.
void AfterHead(const std::vector<std::uint8_t>& frame, const std::function<std::size_t(ReplyReader&)>& read) {
  vomtel::Stream reply(frame.data(), frame.size());
  ReplyReader in(reply);
  std::uint32_t result = 0;
  std::uint16_t number = 0;
  in.Head(result, number);
  const std::size_t entries = read(in);
  // Each entry takes at least one byte on the wire.
  if (in.Complete() && entries > frame.size()) std::abort();
  if (reply.ReadPosition() > reply.Size()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> frame(data, data + size);
  vomtel::AgentList agents;
  vomtel::AgentListEntry entry;
  std::string text;
  std::uint16_t count = 0;

  AfterHead(frame, [&](ReplyReader& in) { agents.clear(); vomtel::ReadBusyList(in, agents); return agents.size(); });
  AfterHead(frame, [&](ReplyReader& in) { agents.clear(); vomtel::ReadReadyList(in, agents); return agents.size(); });
  AfterHead(frame, [&](ReplyReader& in) {
    vomtel::StatusFrame status;
    vomtel::ReadStatusFrame(in, status);
    return status.entries.size();
  });
  AfterHead(frame, [&](ReplyReader& in) {
    agents.clear();
    vomtel::ReadMultiAgentList(in, agents, count);
    return agents.size();
  });
  AfterHead(frame, [&](ReplyReader& in) { agents.clear(); vomtel::ReadSkillAgentList(in, agents); return agents.size(); });
  AfterHead(frame, [&](ReplyReader& in) { vomtel::ReadAgentStatusEx(in, entry); return std::size_t{1}; });
  AfterHead(frame, [&](ReplyReader& in) {
    std::vector<vomtel::WaitingPeriodEntry> periods;
    vomtel::ReadWaitingPeriods(in, text, periods);
    return periods.size();
  });
  AfterHead(frame, [&](ReplyReader& in) {
    std::vector<vomtel::QueueEntry> calls;
    vomtel::ReadQueueCalls(in, text, calls);
    return calls.size();
  });
  AfterHead(frame, [&](ReplyReader& in) {
    std::vector<vomtel::SkillMasterItem> skills;
    vomtel::ReadSkillMaster(in, skills);
    return skills.size();
  });
  // A list frame: a reply head in front of one agent.
  AfterHead(frame, [&](ReplyReader& in) { vomtel::ReadDirectoryEntry(in, entry); return std::size_t{1}; });
  AfterHead(frame, [&](ReplyReader& in) { vomtel::ReadDirectoryEntryEx(in, entry); return std::size_t{1}; });
  // The call load: a status behind the head, then the list.
  AfterHead(frame, [&](ReplyReader& in) {
    std::vector<vomtel::MaxCallLoadEntry> loads;
    in.U32();
    vomtel::ReadMaxCallLoad(in, text, loads);
    return loads.size();
  });
  // From the first byte: the call-back campaigns behind the invoke number and the status,
  // read after a head reading that may have run short.
  AfterHead(frame, [&](ReplyReader& in) {
    std::vector<vomtel::CallbackCampaignEntry> campaigns;
    in.OutboundHead();
    in.U32();
    vomtel::ReadCallbackCampaigns(in, campaigns);
    return campaigns.size();
  });
  return 0;
}
