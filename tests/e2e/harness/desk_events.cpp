#include "tests/e2e/harness/desk_events.h"

#include <vector>

namespace desk {
namespace {

enum class Field : std::uint8_t {
  kPreOld,
  kSecOld,
  kOther,
  kThird,
  kCalled,
  kOriginating,
  kConnList,
  kU32,
  kU8
};

struct Layout {
  std::uint8_t code;
  std::vector<Field> fields;  // after the common prefix
};

constexpr std::uint8_t kPartyType = 1;

const std::vector<Layout>& Layouts() {
  using F = Field;
  static const std::vector<Layout> table = {
      {kConferenced,
       {F::kPreOld, F::kSecOld, F::kOther, F::kThird, F::kConnList, F::kConnList, F::kConnList}},
      {kConnectionCleared, {F::kOther}},
      {kDelivered,
       {F::kOther, F::kThird, F::kCalled, F::kOriginating, F::kU32, F::kU32, F::kU8, F::kU32}},
      {kEstablished, {F::kOther, F::kThird, F::kCalled}},
      {kHeld, {F::kOther}},
      {kOriginated, {F::kOther, F::kCalled, F::kOriginating}},
      {kRetrieved, {F::kOther}},
      {kTransferred, {F::kPreOld, F::kSecOld, F::kOther, F::kThird, F::kConnList, F::kConnList}},
  };
  return table;
}

void PutParty(ctisim::Frame& f, const std::string& text) {
  f.PutTaggedStr8(text.empty() ? 0 : kPartyType, text);
}

}  // namespace

ctisim::Bytes CallEventBody(const CallEvent& e) {
  ctisim::Frame f;
  f.PutStr8(e.monitored).PutU32(e.callId).PutStr8("").PutU32(e.callId);
  f.PutU32(e.code == kConnectionCleared ? 0 : 3).PutU32(0);
  if (e.version == 0x50) f.PutStr8("UCID" + std::to_string(e.callId));
  for (const Layout& layout : Layouts()) {
    if (layout.code != e.code) continue;
    for (Field field : layout.fields) {
      switch (field) {
        case Field::kPreOld:
          f.PutU32(e.preOldCallId);
          break;
        case Field::kSecOld:
          f.PutU32(e.secOldCallId);
          break;
        case Field::kOther:
          PutParty(f, e.other);
          break;
        case Field::kThird:
          PutParty(f, e.third);
          break;
        case Field::kCalled:
          PutParty(f, e.called);
          break;
        case Field::kOriginating:
          PutParty(f, e.monitored);
          break;
        case Field::kConnList:
          f.PutStr8("");
          break;
        case Field::kU32:
          f.PutU32(0);
          break;
        case Field::kU8:
          f.PutU8(0);
          break;
      }
    }
  }
  const bool textIds = e.version == 0x28 || e.version == 0x50;
  f.PutU8(0xAA);
  if (e.cnid) {
    f.PutU8(0xB0);
    if (textIds)
      f.PutStr8(std::to_string(*e.cnid));
    else
      f.PutU32(*e.cnid);
  }
  if (!e.uei.empty()) f.PutU8(0xB3).PutStr16(e.uei);
  if (e.queue) {
    f.PutU8(0xB5);
    if (textIds)
      f.PutStr8(std::to_string(*e.queue));
    else
      f.PutU32(*e.queue);
  }
  f.PutU8(0xFF);
  return f.Take();
}

std::uint8_t AgentStateCode(int mode) { return static_cast<std::uint8_t>(kLoggedOn + mode); }

ctisim::Bytes AgentStateBody(const AgentStateEvent& e) {
  ctisim::Frame f;
  f.PutStr8(e.monitored).PutU32(1).PutStr8(e.agentId).PutStr8(e.agentGroup).PutStr8("");
  if (e.mode == 1) f.PutU16(0).PutU8(0);  // logged off carries three bytes more
  if (e.mode == 2) f.PutU8(0).PutU8(0);   // not ready two
  f.PutU8(e.workMode).PutU8(e.reason);
  return f.Take();
}

std::string MakeUei(int fields, const std::string& regnum) {
  std::string uei;
  for (int i = 0; i < fields; ++i) {
    if (i > 0) uei += "^";
    uei += i == 5 ? regnum : "u" + std::to_string(i);
  }
  return uei;
}

}  // namespace desk
