#include "agentphone/net/dial_request_server.h"

#include <QByteArray>
#include <QMetaObject>
#include <string>

namespace agentphone {
namespace {

constexpr const char* kPendingProperty = "dialRequestPending";

}  // namespace

DialRequestServer::DialRequestServer(DialRequestHandler& handler, LogFn log, QString bindAddress,
                                     QObject* parent)
    : QObject(parent), handler_(handler), log_(std::move(log)), bindAddress_(std::move(bindAddress)) {
  connect(&server_, &QTcpServer::newConnection, this, &DialRequestServer::Accept);
}

DialRequestServer::~DialRequestServer() {
  // the sockets are children of the server and go with it; nothing may call back into us
  server_.close();
  for (QTcpSocket* s : server_.findChildren<QTcpSocket*>()) s->disconnect(this);
}

void DialRequestServer::StartListening(int32_t port) {
  server_.close();
  const QHostAddress address(bindAddress_);
  QString error;
  if (address.isNull()) {
    error = QStringLiteral("not an address");
  } else if (port < 0 || port > 65535) {
    error = QStringLiteral("not a port");
  } else if (!server_.listen(address, static_cast<quint16>(port))) {
    error = server_.errorString();
  }
  if (!error.isEmpty() && log_) {
    const std::string line = "[다이얼 요청 서버 LISTEN 실패] " + bindAddress_.toStdString() + ":" +
                             std::to_string(port) + " " + error.toStdString();
    log_(line);
  }
}

void DialRequestServer::Accept() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    // nextPendingConnection parents the socket to the server
    ++openConnections_;
    // one more byte than a request may have, so that an oversized read is seen as such
    socket->setReadBufferSize(static_cast<qint64>(handler_.MaxRequestBytes()) + 1);
    connect(socket, &QObject::destroyed, this, [this] { --openConnections_; });
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Schedule(socket); });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::errorOccurred, socket, [socket](QAbstractSocket::SocketError) {
      Drop(socket);
    });
    if (socket->state() != QAbstractSocket::ConnectedState) Drop(socket);
  }
}

void DialRequestServer::Schedule(QTcpSocket* socket) {
  // the window's other events get their turn before the data is read, as one read
  if (socket->property(kPendingProperty).toBool()) return;
  socket->setProperty(kPendingProperty, true);
  QPointer<QTcpSocket> guard(socket);
  QMetaObject::invokeMethod(this, [this, guard] { Handle(guard); }, Qt::QueuedConnection);
}

void DialRequestServer::Handle(QPointer<QTcpSocket> socket) {
  if (!socket) return;
  socket->setProperty(kPendingProperty, false);
  const QByteArray data = socket->readAll();
  if (data.isEmpty()) return;
  const DialOutcome outcome =
      handler_.HandleReceived(std::string_view(data.constData(), static_cast<size_t>(data.size())));
  // the dial may have run the event loop: the peer may be gone by now
  if (!socket) return;
  if (outcome.reply) {
    socket->write(outcome.reply->data(), static_cast<qint64>(outcome.reply->size()));
  }
  if (outcome.close) Drop(socket);
}

void DialRequestServer::Drop(QTcpSocket* socket) {
  socket->abort();
  socket->deleteLater();
}

}  // namespace agentphone
