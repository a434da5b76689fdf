// A dial request from another program of the desk: answered "00" and placed as a make call
// with the prefix of its type; the outbound call then calls the customer page without a window
// and, three seconds on, sends the recording link with the request's customer key. Requests
// that cannot be dialled place nothing.
#include <iostream>
#include <optional>
#include <string>

#include "tests/e2e/desk_fixture.h"

namespace desk::test {
namespace {

TEST_F(DeskTest, DialRequestIsPlacedAndItsCallLinkedToTheCustomer) {
  ASSERT_NO_FATAL_FAILURE(StartLoggedIn());
  const std::string web = web_.BaseUrl();
  DialClient client;
  ASSERT_TRUE(client.Connect(DialPort(), kWait));

  const std::string request = DialRequestText("SP-210", "02-1234-5678", "CUST77");
  const std::optional<DialReply> reply = client.Ask(request, kWait);
  ASSERT_TRUE(reply) << Report();
  EXPECT_FALSE(reply->closed);
  EXPECT_EQ(reply->text, "T1|SP-210|00|f3|f4|02-1234-5678|f6|CUST77|");

  // "02" dropped, then the outside-line digit of SP-210 in front.
  const std::optional<ctisim::Request> make =
      server_->Sim().WaitForRequest(0x41, kMakeCallCode, kWait);
  ASSERT_TRUE(make);
  EXPECT_EQ(CalledNumber(*make), "812345678");
  EXPECT_TRUE(desk_->Log().WaitForText("[RECV]" + request, kWait)) << Report();
  EXPECT_TRUE(desk_->Log().WaitForText("[SEND]" + reply->text, kWait)) << Report();

  // The switch reports the call established with 812345678 (an outside number: the customer
  // key goes to the customer page, its number as dialled).
  const std::string cnid = std::to_string(server_->CurrentCall());
  const std::string update =
      web + "/tpw/vlg.vlgCustomFieldUpdateByApLumorJson.ajax?CNID= " + cnid + "&CUST_ID= ";
  const std::string page =
      web + "/cust/frmUrlSave.do?reg_no=CUST77&tel_no=812345678&file_url=" + update;
  const std::optional<HttpRequest> pageCall = web_.WaitFor(
      [](const HttpRequest& r) { return r.target.rfind("/cust/frmUrlSave.do", 0) == 0; }, kWait);
  ASSERT_TRUE(pageCall) << Report();
  EXPECT_EQ(pageCall->target, "/cust/frmUrlSave.do?reg_no=CUST77&tel_no=812345678&file_url=" + web +
                                  "/tpw/vlg.vlgCustomFieldUpdateByApLumorJson.ajax?CNID=%20" +
                                  cnid + "&CUST_ID=%20");
  EXPECT_TRUE(desk_->Log().WaitForText(page, kWait)) << Report();

  // The recording link, on the event's date (the switch stamps 2026/01/02).
  const std::string link = web + "/rec/CustIdLinkage.jsp?RCallID=" + cnid +
                           "&StartTime=20260102&Ext=4001 &CustId=CUST77";
  const std::optional<HttpRequest> linkCall =
      web_.WaitFor([](const HttpRequest& r) { return r.target.rfind("/rec/", 0) == 0; }, kWait);
  ASSERT_TRUE(linkCall) << Report();
  EXPECT_EQ(linkCall->target, "/rec/CustIdLinkage.jsp?RCallID=" + cnid +
                                  "&StartTime=20260102&Ext=4001%20&CustId=CUST77");
  EXPECT_EQ(linkCall->body, link);
  EXPECT_TRUE(desk_->Log().WaitForText("고객Data  전송 :" + link, kWait)) << Report();
  EXPECT_TRUE(desk_->BrowserCalls().empty()) << "an outbound call opens no visible pop";

  // In the call, the next request is refused and nothing more is dialled.
  const std::optional<DialReply> busy =
      client.Ask(DialRequestText("SP-100", "5678", "CUST78", "T2"), kWait);
  ASSERT_TRUE(busy) << Report();
  EXPECT_EQ(busy->text, "T2|SP-110|03|f3|f4|5678|f6|CUST78|");
  EXPECT_EQ(server_->Sim().CountRequests(0x41, kMakeCallCode), 1u);
}

TEST_F(DeskTest, ShortAndMalformedDialRequestsPlaceNothing) {
  ASSERT_NO_FATAL_FAILURE(StartLoggedIn());
  DialClient client;
  ASSERT_TRUE(client.Connect(DialPort(), kWait));
  const std::optional<DialReply> shortNumber =
      client.Ask(DialRequestText("SP-100", "1-2-3", "K"), kWait);
  ASSERT_TRUE(shortNumber) << Report();
  EXPECT_EQ(shortNumber->text, "T1|SP-110|01|f3|f4|1-2-3|f6|K|");

  // Eight fields: no reply, the connection closed, the text in the log.
  const std::optional<DialReply> malformed = client.Ask("a|SP-100|b|c|d|1234|e|f", kWait);
  ASSERT_TRUE(malformed) << Report();
  EXPECT_TRUE(malformed->closed);
  EXPECT_EQ(malformed->text, "");
  EXPECT_TRUE(desk_->Log().WaitForText("전문형식이 틀림 [RECV]a|SP-100|b|c|d|1234|e|f", kWait))
      << Report();

  // A new connection is served as before.
  DialClient again;
  ASSERT_TRUE(again.Connect(DialPort(), kWait));
  const std::optional<DialReply> second =
      again.Ask(DialRequestText("SP-100", "12", "K", "T3"), kWait);
  ASSERT_TRUE(second) << Report();
  EXPECT_EQ(ReplyField(second->text, 2), "01");
  EXPECT_EQ(server_->Sim().CountRequests(0x41, kMakeCallCode), 0u);
}

// A peer that ends its sending right after its request (`printf ... | socat - TCP:...`): each
// such request, on a connection of its own, is answered, and then the program closes the
// connection.
class DialRequestEndingSendingTest : public DeskTest {
 protected:
  static constexpr int kRequests = 10;

  // Ten requests, each sent and its sending ended at once; the first is answered `first`, the
  // rest `rest`.
  void AskTen(const std::string& first, const std::string& rest) {
    int answered = 0;
    for (int i = 0; i < kRequests; ++i) {
      const std::string tag = "H" + std::to_string(i);
      DialClient client;
      ASSERT_TRUE(client.Connect(DialPort(), kWait));
      ASSERT_TRUE(client.Send(DialRequestText("SP-210", "02-1234-5678", "K" + tag, tag)));
      ASSERT_TRUE(client.ShutdownSending());
      std::string received;
      bool closed = false;
      while (!closed) {
        const std::optional<DialReply> r = client.Read(kWait);
        ASSERT_TRUE(r) << "neither a reply nor the end of the connection\n" << Report();
        received += r->text;
        closed = r->closed;
      }
      const std::string expected =
          tag + "|SP-210|" + (i == 0 ? first : rest) + "|f3|f4|02-1234-5678|f6|K" + tag + "|";
      EXPECT_EQ(received, expected) << Report();
      if (received == expected) ++answered;
    }
    std::cout << answered << " of " << kRequests << " answered exactly\n";
  }
};

TEST_F(DialRequestEndingSendingTest, LoggedOutEachIsRefusedAndNothingDialled) {
  ASSERT_NO_FATAL_FAILURE(StartDesk([](DeskConfig& d) { d.autoLogin = false; }));
  ASSERT_NO_FATAL_FAILURE(AskTen("02", "02"));
  EXPECT_EQ(server_->Sim().CountRequests(0x41, kMakeCallCode), 0u);
}

TEST_F(DialRequestEndingSendingTest, LoggedInTheFirstIsPlacedAndTheRestFindTheCall) {
  ASSERT_NO_FATAL_FAILURE(StartLoggedIn());
  ASSERT_NO_FATAL_FAILURE(AskTen("00", "03"));
  const std::optional<ctisim::Request> make =
      server_->Sim().WaitForRequest(0x41, kMakeCallCode, kWait);
  ASSERT_TRUE(make);
  EXPECT_EQ(CalledNumber(*make), "812345678");
  EXPECT_EQ(server_->Sim().CountRequests(0x41, kMakeCallCode), 1u);
  EXPECT_TRUE(desk_->Log().WaitForText("[SEND]H0|SP-210|00|f3|f4|02-1234-5678|f6|KH0|", kWait))
      << Report();
}

}  // namespace
}  // namespace desk::test
