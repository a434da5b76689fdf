// The dial-request listener: a TCP server on the agent's own machine (loopback unless the
// settings name another address) whose connections each carry requests of the dial-request
// protocol. Every read of a connection is handed, after one turn of the event loop, to the
// request handler as one request; the handler's reply goes back on the same connection, and
// nothing more is read from it until the reply has gone out. A connection is freed when it
// ends: closed by the peer (a peer that only shuts down its sending gets the reply to what it
// sent first), refused after a malformed or oversized read, or failed.
#pragma once

#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <functional>
#include <string_view>

#include "agentphone/core/dial_server/dial_request_handler.h"
#include "agentphone/core/outside_ports.h"

namespace agentphone {

class DialRequestServer final : public QObject, public DialRequestListener {
  Q_OBJECT

 public:
  using LogFn = std::function<void(std::string_view)>;

  // bindAddress: the address to listen on, "127.0.0.1" by default.
  DialRequestServer(DialRequestHandler& handler, LogFn log,
                    QString bindAddress = QStringLiteral("127.0.0.1"), QObject* parent = nullptr);
  ~DialRequestServer() override;

  // Listens on the port (0: any free one) and logs the address and port it listens on. A
  // failure (port in use, a bad address) is logged and the program runs on without the
  // listener.
  void StartListening(int32_t port) override;

  bool IsListening() const { return server_.isListening(); }
  quint16 Port() const { return server_.serverPort(); }
  int OpenConnections() const { return openConnections_; }

 private:
  void Accept();
  void Schedule(QTcpSocket* socket);
  void Handle(QPointer<QTcpSocket> socket);
  // After a read's reply has gone out whole: the next read may come.
  void ReadOn(QTcpSocket* socket);
  qint64 ReadLimit() const;
  static void Drop(QTcpSocket* socket);

  DialRequestHandler& handler_;
  LogFn log_;
  QString bindAddress_;
  QTcpServer server_;
  int openConnections_ = 0;
};

}  // namespace agentphone
