// The dial-request listener over real sockets: requests and replies as bytes on the wire, many
// peers at once, peers that leave early or send too much, and who can reach the port at all.
#include "agentphone/net/dial_request_server.h"

#include <gtest/gtest.h>

#include <QHostAddress>
#include <QNetworkInterface>
#include <cerrno>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "agentphone/dial_server/recording_phone.h"
#include "tests/agentphone/net/loopback_client.h"
#include "tests/agentphone/net/wait_until.h"

namespace agentphone {
namespace {

using net_testing::LoopbackClient;
using net_testing::OpenDescriptors;
using net_testing::WaitUntil;

constexpr std::string_view kRefusedLog = "전문형식이 틀림 [RECV]";

// A main window whose MAKECALL may run the event loop, as the real command does while it
// waits for the server's reply.
class LoopingPhone : public testing::RecordingPhone {
 public:
  std::function<void()> duringMakeCall;

  using RecordingPhone::Call_Function;
  int32_t Call_Function(std::string& callFunction, std::string& UUI, std::string& UEI,
                        std::string& CallingNo, std::string& CI) override {
    if (callFunction == "MAKECALL" && duringMakeCall) duringMakeCall();
    return RecordingPhone::Call_Function(callFunction, UUI, UEI, CallingNo, CI);
  }
};

class DialRequestServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server.StartListening(0);
    ASSERT_TRUE(server.IsListening()) << (serverLog.empty() ? "" : serverLog.back());
    port = server.Port();
  }

  // A peer connected to the listener on the loopback address and taken by it.
  std::unique_ptr<LoopbackClient> Connect(const DialRequestServer& to) {
    auto client = std::make_unique<LoopbackClient>();
    const int before = to.OpenConnections();
    EXPECT_TRUE(client->Connect("127.0.0.1", to.Port()));
    EXPECT_TRUE(WaitUntil([&] {
      return client->ConnectState() == 0 && to.OpenConnections() == before + 1;
    }));
    return client;
  }

  static void Send(LoopbackClient& client, std::string_view bytes) {
    size_t sent = 0;
    ASSERT_TRUE(WaitUntil([&] {
      const long n = client.SendSome(bytes.substr(sent));
      if (n > 0) sent += static_cast<size_t>(n);
      return n < 0 || sent == bytes.size();
    }));
    ASSERT_EQ(sent, bytes.size()) << std::strerror(errno);
  }

  static bool ReceivedAtLeast(LoopbackClient& client, size_t bytes) {
    return WaitUntil([&] {
      client.Poll();
      return client.Received().size() >= bytes || client.PeerClosed();
    });
  }

  static bool ClosedByPeer(LoopbackClient& client) {
    return WaitUntil([&] { return !client.Poll(); });
  }

  LoopingPhone phone;
  DialRequestHandler handler{phone};
  std::vector<std::string> serverLog;
  DialRequestServer server{handler, [this](std::string_view l) { serverLog.emplace_back(l); }};
  quint16 port = 0;
};

TEST_F(DialRequestServerTest, NineFieldsAreAnsweredOnTheSameConnectionAndEightCloseIt) {
  auto client = Connect(server);
  Send(*client, "F0|SP-100|F2|F3|F4|02-2345-6789|F6|CUST7|F8");
  const std::string first = "F0|SP-110|00|F3|F4|02-2345-6789|F6|CUST7|";
  ASSERT_TRUE(ReceivedAtLeast(*client, first.size()));
  EXPECT_EQ(client->Received(), first);
  ASSERT_EQ(phone.commands.size(), 1u);
  EXPECT_EQ(phone.commands[0].callingNo, "023456789");
  EXPECT_EQ(phone.vars.gCUSTKEY, "CUST7");

  // the connection stays open for further requests; now in a call
  Send(*client, "G0|SP-210|G2|G3|G4|0311234567|G6|K2|G8|G9");
  const std::string second = "G0|SP-210|03|G3|G4|0311234567|G6|K2|";
  ASSERT_TRUE(ReceivedAtLeast(*client, first.size() + second.size()));
  EXPECT_EQ(client->Received(), first + second) << "each reply sent once";
  EXPECT_FALSE(client->PeerClosed());
  EXPECT_EQ(phone.vars.gCUSTKEY, "CUST7");

  auto malformed = Connect(server);
  Send(*malformed, "a|b|c|d|e|f|g|h");
  ASSERT_TRUE(ClosedByPeer(*malformed));
  EXPECT_EQ(malformed->Received(), "");
  EXPECT_EQ(phone.log.back(), std::string(kRefusedLog) + "a|b|c|d|e|f|g|h");
  EXPECT_TRUE(WaitUntil([&] { return server.OpenConnections() == 1; })) << "freed, not kept";
  EXPECT_EQ(phone.commands.size(), 1u);
}

TEST_F(DialRequestServerTest, CodesPrefixesAndNumberRulesAsBytesOnTheWire) {
  struct Case {
    const char* caption;
    int makeCall;
    const char* type;
    const char* number;
    const char* reply;   // what the peer reads back
    const char* dialled; // nullptr: no MAKECALL
  } cases[] = {
      {"로그아웃", 1, "SP-100", "1-2-3", "R|SP-110|01|F3|F4|1-2-3|F6|K|", nullptr},
      {"통화중", 1, "SP-100", "123", "R|SP-110|01|F3|F4|123|F6|K|", nullptr},
      {"로그아웃", 1, "SP-100", "1234", "R|SP-110|02|F3|F4|1234|F6|K|", nullptr},
      {"통화중", 1, " SP-100 ", "1234", "R|SP-110|03|F3|F4|1234|F6|K|", nullptr},
      {"협의통화중", 1, "sp-100", "1234", "R|SP-210|03|F3|F4|1234|F6|K|", nullptr},
      {"대기", 1, "SP-100", "1234", "R|SP-110|00|F3|F4|1234|F6|K|", "1234"},
      {"휴식", 1, "SP-210", "0212", "R|SP-210|00|F3|F4|0212|F6|K|", "12"},
      {"대기", 1, "SP-100", "02-1234-5678", "R|SP-110|00|F3|F4|02-1234-5678|F6|K|", "012345678"},
      {"후처리", 1, "SP-210", "0202 12345", "R|SP-210|00|F3|F4|0202 12345|F6|K|", "812345"},
      {"보류중", 1, "SP-210", "031 123 4567", "R|SP-210|00|F3|F4|031 123 4567|F6|K|", "80311234567"},
      {"대기", 3014, "SP-100", "0311234567", "R|SP-110|04|F3|F4|0311234567|F6|K|", "00311234567"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.caption) + " " + c.type + " " + c.number);
    phone.caption = c.caption;
    phone.makeCallResult = c.makeCall;
    phone.vars.gCUSTKEY = "OLD";
    phone.commands.clear();
    auto client = Connect(server);
    Send(*client, std::string("R|") + c.type + "|F2|F3|F4|" + c.number + "|F6|K|F8|F9");
    const std::string reply = c.reply;
    ASSERT_TRUE(ReceivedAtLeast(*client, reply.size()));
    EXPECT_EQ(client->Received(), reply);
    if (c.dialled) {
      ASSERT_EQ(phone.commands.size(), 1u);
      EXPECT_EQ(phone.commands[0].callingNo, c.dialled);
    } else {
      EXPECT_TRUE(phone.commands.empty());
    }
    // the key is kept only for a call that was placed
    EXPECT_EQ(phone.vars.gCUSTKEY,
              std::string(c.reply).find("|00|") != std::string::npos ? "K" : "OLD");
    client.reset();
    ASSERT_TRUE(WaitUntil([&] { return server.OpenConnections() == 0; }));
  }
}

TEST_F(DialRequestServerTest, ManyPeersAtOnceAreEachAnsweredAndAllFreed) {
  constexpr int kPeers = 200;
  const int descriptors = OpenDescriptors();
  std::vector<std::unique_ptr<LoopbackClient>> peers;
  for (int i = 0; i < kPeers; ++i) peers.push_back(Connect(server));
  ASSERT_EQ(server.OpenConnections(), kPeers);

  auto request = [](int i) { return "C" + std::to_string(i) + "|SP-100|F2|F3|F4|123|F6|K|F8"; };
  auto reply = [](int i) { return "C" + std::to_string(i) + "|SP-110|01|F3|F4|123|F6|K|"; };
  for (int i = 0; i < kPeers; ++i) Send(*peers[static_cast<size_t>(i)], request(i));
  ASSERT_TRUE(WaitUntil([&] {
    for (int i = 0; i < kPeers; ++i) {
      LoopbackClient& p = *peers[static_cast<size_t>(i)];
      p.Poll();
      if (p.Received().size() < reply(i).size() && !p.PeerClosed()) return false;
    }
    return true;
  }));
  for (int i = 0; i < kPeers; ++i) {
    EXPECT_EQ(peers[static_cast<size_t>(i)]->Received(), reply(i));
  }

  peers.clear();
  EXPECT_TRUE(WaitUntil([&] {
    return server.OpenConnections() == 0 && OpenDescriptors() == descriptors;
  })) << server.OpenConnections() << " connections, " << OpenDescriptors() - descriptors
      << " descriptors left";
}

TEST_F(DialRequestServerTest, PeersThatLeaveEarlyAreFreedAndTheListenerServesOn) {
  const int descriptors = OpenDescriptors();
  // gone without a word
  Connect(server)->Close();
  ASSERT_TRUE(WaitUntil([&] { return server.OpenConnections() == 0; }));
  // gone before its request was read
  {
    auto c = Connect(server);
    Send(*c, "E0|SP-100|F2|F3|F4|1234|F6|K1|F8");
  }
  ASSERT_TRUE(WaitUntil([&] { return server.OpenConnections() == 0; }));

  // gone while its call was being placed: the reply has nowhere to go. Its end reads as a
  // peer's end of sending, so the connection is freed once the reply has been handed over.
  phone.caption = "대기";
  auto leaving = Connect(server);
  phone.duringMakeCall = [&] { leaving->Close(); };
  Send(*leaving, "L0|SP-100|F2|F3|F4|5678|F6|K2|F8");
  ASSERT_TRUE(WaitUntil([&] {
    return !phone.commands.empty() && phone.commands.back().callingNo == "5678";
  }));
  phone.duringMakeCall = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return server.OpenConnections() == 0; }));

  auto next = Connect(server);
  Send(*next, "N0|SP-100|F2|F3|F4|12|F6|K3|F8");
  const std::string reply = "N0|SP-110|01|F3|F4|12|F6|K3|";
  ASSERT_TRUE(ReceivedAtLeast(*next, reply.size()));
  EXPECT_EQ(next->Received(), reply);
  next.reset();
  leaving.reset();
  EXPECT_TRUE(WaitUntil([&] {
    return server.OpenConnections() == 0 && OpenDescriptors() == descriptors;
  }));
}

TEST_F(DialRequestServerTest, APeerThatEndsItsSendingAtOnceIsAnsweredBeforeTheClose) {
  // as `printf ... | socat - TCP:...` does: the request, then at once the end of its sending,
  // both waiting for the listener before it has read anything
  struct Case {
    const char* caption;
    const char* number;
    bool loopDuringCall;  // the event loop runs while the call is placed
    const char* reply;
    const char* dialled;  // nullptr: no MAKECALL
  } cases[] = {
      {"로그아웃", "1234", false, "H|SP-110|02|F3|F4|1234|F6|K|", nullptr},
      {"대기", "02-1234-5678", false, "H|SP-110|00|F3|F4|02-1234-5678|F6|K|", "012345678"},
      {"대기", "0311234567", true, "H|SP-110|00|F3|F4|0311234567|F6|K|", "00311234567"},
  };
  const int descriptors = OpenDescriptors();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.caption) + " " + c.number + (c.loopDuringCall ? " looping" : ""));
    phone.caption = c.caption;
    phone.commands.clear();
    // a peer taken during the call: the loop has looked at every socket, the end included
    std::unique_ptr<LoopbackClient> other;
    if (c.loopDuringCall) phone.duringMakeCall = [&] { other = Connect(server); };
    auto client = Connect(server);
    Send(*client, std::string("H|SP-100|F2|F3|F4|") + c.number + "|F6|K|F8");
    ASSERT_TRUE(client->ShutdownSending());
    ASSERT_TRUE(ClosedByPeer(*client));
    EXPECT_EQ(client->Received(), c.reply);
    if (c.dialled) {
      ASSERT_EQ(phone.commands.size(), 1u);
      EXPECT_EQ(phone.commands[0].callingNo, c.dialled);
    } else {
      EXPECT_TRUE(phone.commands.empty());
    }
    phone.duringMakeCall = nullptr;
    other.reset();
    client.reset();
    EXPECT_TRUE(WaitUntil([&] {
      return server.OpenConnections() == 0 && OpenDescriptors() == descriptors;
    })) << server.OpenConnections() << " connections, " << OpenDescriptors() - descriptors
        << " descriptors left";
  }
}

TEST_F(DialRequestServerTest, AReadOverTheLimitIsRefusedAndClosedWithoutAReply) {
  // the padding comes first, so that no part of it reads as a request of its own
  const std::string oversized =
      std::string(kMaxDialRequestBytes + 4096, 'x') + "|SP-100|F2|F3|F4|1234|F6|K|F8";
  auto client = Connect(server);
  size_t sent = 0;
  // written while the listener runs; it stops taking bytes once it has refused the read
  ASSERT_TRUE(WaitUntil([&] {
    const long n = client->SendSome(std::string_view(oversized).substr(sent));
    if (n > 0) sent += static_cast<size_t>(n);
    return n < 0 || !client->Poll();
  }));
  EXPECT_EQ(client->Received(), "");
  EXPECT_TRUE(phone.commands.empty());
  ASSERT_EQ(phone.log.size(), 1u);
  EXPECT_EQ(phone.log[0].rfind(kRefusedLog, 0), 0u);
  EXPECT_LE(phone.log[0].size(), kRefusedLog.size() + DialRequestHandler::kLoggedBytes);
  EXPECT_TRUE(WaitUntil([&] { return server.OpenConnections() == 0; }));
}

TEST_F(DialRequestServerTest, TheAddressAndPortListenedOnAreLogged) {
  // port 0 (a PORT missing or out of range) is whatever port the system picked
  EXPECT_EQ(serverLog, std::vector<std::string>{"[다이얼 요청 서버 LISTEN] 127.0.0.1:" +
                                                std::to_string(port)});
  std::vector<std::string> log;
  DialRequestServer other(handler, [&log](std::string_view l) { log.emplace_back(l); },
                          QStringLiteral("127.0.0.1"));
  server.StartListening(0);  // frees the port to be asked for by its number
  ASSERT_TRUE(server.IsListening());
  other.StartListening(port);
  ASSERT_TRUE(other.IsListening()) << (log.empty() ? "" : log.back());
  EXPECT_EQ(log, std::vector<std::string>{"[다이얼 요청 서버 LISTEN] 127.0.0.1:" +
                                          std::to_string(port)});
}

TEST_F(DialRequestServerTest, AFailedListenIsLoggedAndTheProgramRunsOn) {
  struct Case {
    const char* address;
    int port;
    const char* says;
  } cases[] = {
      {"127.0.0.1", port, "127.0.0.1:"},  // the port is taken
      {"localhost", 0, "not an address"},
      {"127.0.0.1", 70000, "not a port"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> log;
    DialRequestServer other(handler, [&log](std::string_view l) { log.emplace_back(l); },
                            QString::fromUtf8(c.address));
    other.StartListening(c.port);
    EXPECT_FALSE(other.IsListening()) << c.address;
    ASSERT_EQ(log.size(), 1u) << c.address;
    EXPECT_EQ(log[0].rfind("[다이얼 요청 서버 LISTEN 실패] " + std::string(c.address) + ":" +
                               std::to_string(c.port) + " ",
                           0),
              0u)
        << log[0];
    EXPECT_NE(log[0].find(c.says), std::string::npos) << log[0];
  }
  // the one listening before is untouched
  auto client = Connect(server);
  Send(*client, "A|SP-100|F2|F3|F4|12|F6|K|F8");
  EXPECT_TRUE(ReceivedAtLeast(*client, 1));
}

TEST_F(DialRequestServerTest, OnlyTheLoopbackAddressIsServedUnlessAnotherIsSet) {
  QString other;
  for (const QHostAddress& a : QNetworkInterface::allAddresses()) {
    if (a.isLoopback() || a.isLinkLocal() || a.isNull()) continue;
    if (a.protocol() == QAbstractSocket::IPv4Protocol) {
      other = a.toString();
      break;
    }
    if (other.isEmpty() && a.protocol() == QAbstractSocket::IPv6Protocol) other = a.toString();
  }
  if (other.isEmpty()) GTEST_SKIP() << "this machine has no address besides loopback";

  LoopbackClient outsider;
  ASSERT_TRUE(outsider.Connect(other.toStdString(), port)) << other.toStdString();
  int state = EINPROGRESS;
  // refused at once by the machine; a firewall that drops instead is given a bounded wait
  WaitUntil([&] { return (state = outsider.ConnectState()) != EINPROGRESS; }, 5000);
  EXPECT_NE(state, 0) << "reachable on " << other.toStdString();
  EXPECT_EQ(server.OpenConnections(), 0);

  // set to that address, the listener is reached there
  DialRequestServer bound(handler, {}, other);
  bound.StartListening(0);
  ASSERT_TRUE(bound.IsListening());
  LoopbackClient insider;
  ASSERT_TRUE(insider.Connect(other.toStdString(), bound.Port()));
  EXPECT_TRUE(WaitUntil([&] {
    return insider.ConnectState() == 0 && bound.OpenConnections() == 1;
  }));
}

}  // namespace
}  // namespace agentphone
