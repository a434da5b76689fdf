// A consultation from an answered call, pressed on the window: the consultation dialog opens,
// the number typed there is called while the customer is held, and the call ends in a
// transfer, a conference or a return to the customer.
#include <QLineEdit>
#include <QTest>

#include "tests/e2e/desk_fixture.h"
#include "tests/e2e/window_fixture.h"

namespace desk::test {
namespace {

constexpr char kCaller[] = "0312345678";
constexpr char kConsulted[] = "4002";

// The held call and the consulted call of a transfer or conference request.
struct HeldAndActive {
  std::uint32_t held = 0;
  std::string heldDevice;
  std::uint32_t active = 0;
  std::string activeDevice;
};

HeldAndActive DecodeHeldAndActive(const ctisim::Request& r) {
  ctisim::FrameReader f = r.Fields();
  HeldAndActive h;
  h.held = f.GetU32();
  h.heldDevice = f.GetStr8();
  f.GetU8();
  h.active = f.GetU32();
  h.activeDevice = f.GetStr8();
  return h;
}

struct EndCase {
  const char* name;
  const char* button;
  std::uint8_t code;
  // What the window shows once the switch has answered.
  bool (*shows)(WindowTest&);
  std::vector<int> modes;  // the agent-state requests that follow
};

// What the window shows after each end.
struct Probe {
  static bool Ready(WindowTest& p) {
    return p.Caption() == "대기" && !p.Enabled("ImgHangUp") && p.Enabled("ImgNotReady");
  }
  static bool InConference(WindowTest& p) {
    return p.Caption() == "통화중" && p.Enabled("ImgHangUp") && !p.Enabled("ImgTransfer") &&
           !p.Enabled("ImgReConnect") && !p.Enabled("ImgHold") && !p.Enabled("ImgConsult");
  }
  static bool BackWithTheCustomer(WindowTest& p) {
    return p.Caption() == "통화중" && p.Enabled("ImgHangUp") && p.Enabled("ImgHold") &&
           p.Enabled("ImgConsult") && !p.Enabled("ImgReConnect") && !p.Enabled("ImgTransfer");
  }
};

class Consultation : public WindowTest, public ::testing::WithParamInterface<EndCase> {
 protected:
  // Answers an inbound call and consults kConsulted through the dialog; the ids of the
  // customer's call and of the consulted call.
  void Consult(std::uint32_t* customer, std::uint32_t* consulted) {
    ASSERT_NO_FATAL_FAILURE(StartLoggedIn(kReady));
    *customer = server_->PushDelivered(kCaller, MakeUei(12, "8001011234567"), 1105);
    ASSERT_TRUE(Until([&] { return Enabled("ImgAnswer"); })) << Report();
    ASSERT_NO_FATAL_FAILURE(Press("ImgAnswer"));
    ASSERT_TRUE(Until([&] { return Enabled("ImgConsult"); })) << Report();

    WhenShown("frm_Dial_Con", [](QWidget* dialog) {
      auto* number = dialog->findChild<QLineEdit*>(QStringLiteral("txtNum"));
      number->setText(QString::fromLatin1(kConsulted));
      QTest::mouseClick(dialog->findChild<QWidget*>(QStringLiteral("cmdMakeCall")),
                        Qt::LeftButton);
    });
    ASSERT_NO_FATAL_FAILURE(Press("ImgConsult"));
    const std::optional<ctisim::Request> consult = Request(kConsultationCode);
    ASSERT_TRUE(consult) << Report();
    EXPECT_TRUE(AllAnswered());
    EXPECT_EQ(FirstParty(*consult).call, *customer);
    EXPECT_EQ(FirstParty(*consult).device, "4001");
    EXPECT_EQ(CalledNumber(*consult), kConsulted);
    // The consulted party answered: transfer and conference are offered.
    ASSERT_TRUE(Until([&] { return Enabled("ImgTransfer") && Enabled("ImgConference"); }))
        << Report();
    EXPECT_TRUE(Enabled("ImgReConnect"));
    EXPECT_FALSE(Enabled("ImgHold"));
    // The consulted call as the window learned it: established without a UEI.
    const std::string established = "[EVENT orbaEK_Established]-";
    std::string id;
    for (const LogLine& l : desk_->Log().Lines()) {
      if (const std::size_t at = l.raw.find(established); at != std::string::npos) {
        id = l.raw.substr(at + established.size());
      }
    }
    ASSERT_FALSE(id.empty()) << Report();
    *consulted = static_cast<std::uint32_t>(std::stoul(id));
    EXPECT_NE(*consulted, *customer);
  }
};

TEST_P(Consultation, EndsAsTheButtonSays) {
  const EndCase& c = GetParam();
  std::uint32_t customer = 0, consulted = 0;
  ASSERT_NO_FATAL_FAILURE(Consult(&customer, &consulted));

  const std::size_t mark = server_->AgentStates().size();
  ASSERT_NO_FATAL_FAILURE(Press(c.button));
  const std::optional<ctisim::Request> end = Request(c.code);
  ASSERT_TRUE(end) << Report();
  if (c.code != kReconnectCode) {
    const HeldAndActive h = DecodeHeldAndActive(*end);
    EXPECT_EQ(h.held, customer);
    EXPECT_EQ(h.heldDevice, "4001");
    EXPECT_EQ(h.active, consulted);
    // A transfer names the customer's number from the caller-number panel as the active
    // party; a conference names the agent's extension.
    EXPECT_EQ(h.activeDevice, c.code == kTransferCode ? kCaller : "4001");
  }
  ASSERT_TRUE(Until([&] { return c.shows(*this); })) << Report();
  const std::vector<AgentStateRequest> states = server_->AgentStates();
  ASSERT_GE(states.size(), mark + c.modes.size()) << Report();
  for (std::size_t i = 0; i < c.modes.size(); ++i) {
    EXPECT_EQ(states[mark + i].mode, c.modes[i]) << "request " << i << " after the button";
  }
  if (c.modes.empty()) {
    EXPECT_EQ(states.size(), mark) << "the agent's state changed";
  }
  EXPECT_TRUE(boxes_.informed.empty()) << Report();
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, Consultation,
    ::testing::Values(
        // The agent leaves the call: after-call work, which without the database goes on to
        // ready.
        EndCase{"Transfer", "ImgTransfer", kTransferCode, &Probe::Ready,
                {kAfterCallWork, kReady}},
        EndCase{"Conference", "ImgConference", kConferenceCode, &Probe::InConference, {}},
        EndCase{"BackToTheCustomer", "ImgReConnect", kReconnectCode, &Probe::BackWithTheCustomer,
                {}}),
    [](const ::testing::TestParamInfo<EndCase>& info) { return info.param.name; });

}  // namespace
}  // namespace desk::test
