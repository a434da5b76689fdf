#include "tools/ctisim/reply_rule.h"

#include "tools/ctisim/frame.h"

namespace ctisim {

std::vector<Bytes> BuildAnswer(const Request& request, const ReplyRule& rule,
                               const OpenDefaults& open) {
  const std::uint16_t number = rule.number.value_or(request.number);
  Head head{request.cls, request.code, request.version, rule.word.value_or(request.word)};
  std::vector<Bytes> frames;
  if (IsOpen(request.cls, request.code)) {
    head.version = open.version.value_or(request.version);
    Frame data;
    data.PutU32(rule.session_id.value_or(open.session_id))
        .PutU16(number)
        .PutU32(0)
        .PutU8(rule.active_flag.value_or(open.active_flag))
        .PutBytes(rule.data);
    // The open reply has no number at 12-13: the session id is there.
    Frame f;
    f.PutU8(head.cls).PutU8(head.code).PutU8(head.version).PutU16(head.word);
    f.PutU32(rule.result).PutBytes(data.bytes());
    frames.push_back(LengthFramed(kReplyFrame, f.bytes()));
  } else if (rule.layout == ReplyLayout::kFromByte6) {
    Frame f;
    f.PutU8(head.cls).PutU16(number).PutU32(rule.result).PutBytes(rule.data);
    frames.push_back(LengthFramed(kReplyFrame, f.bytes()));
  } else {
    frames.push_back(ReplyFrame(head, rule.result, number, rule.data));
  }
  for (const Bytes& more : rule.more) frames.push_back(ReplyFrame(head, rule.result, number, more));
  for (const Bytes& list : rule.lists) frames.push_back(ListFrame(list));
  return frames;
}

}  // namespace ctisim
