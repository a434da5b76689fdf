// A web server of the test on the loopback address: it keeps every request as it arrived (the
// request line, the header lines and the body) and answers each with an empty 200, or never
// when it is told to stay silent.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QTcpServer>
#include <string>
#include <vector>

class QTcpSocket;

namespace agentphone::net_testing {

struct CapturedRequest {
  std::string line;     // without its CR LF
  std::string headers;  // the header lines as received
  std::string body;
};

class CaptureHttpServer final : public QObject {
  Q_OBJECT

 public:
  enum class Mode { kAnswer, kSilent };
  explicit CaptureHttpServer(Mode mode);
  ~CaptureHttpServer() override;

  bool IsListening() const { return server_.isListening(); }
  // "http://127.0.0.1:<port>"
  std::string Base() const;
  const std::vector<CapturedRequest>& Requests() const { return requests_; }

 private:
  void Accept();
  void Read(QTcpSocket* socket);

  Mode mode_;
  QTcpServer server_;
  QHash<QTcpSocket*, QByteArray> buffers_;
  std::vector<CapturedRequest> requests_;
};

}  // namespace agentphone::net_testing
