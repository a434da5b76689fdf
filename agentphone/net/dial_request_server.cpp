#include "agentphone/net/dial_request_server.h"

#include <QByteArray>
#include <QMetaObject>
#include <algorithm>
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
  if (!log_) return;
  if (!error.isEmpty()) {
    log_("[다이얼 요청 서버 LISTEN 실패] " + bindAddress_.toStdString() + ":" +
         std::to_string(port) + " " + error.toStdString());
    return;
  }
  // the port that peers must use, the one the system picked when the setting gave none
  log_("[다이얼 요청 서버 LISTEN] " + bindAddress_.toStdString() + ":" +
       std::to_string(server_.serverPort()));
}

void DialRequestServer::Accept() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    // nextPendingConnection parents the socket to the server
    ++openConnections_;
    socket->setReadBufferSize(ReadLimit());
    connect(socket, &QObject::destroyed, this, [this] { --openConnections_; });
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Schedule(socket); });
    // the rest of a reply that the system could not take at once has gone out
    connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] {
      if (!socket->property(kPendingProperty).toBool() && socket->bytesToWrite() == 0) {
        ReadOn(socket);
      }
    });
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
  // Nothing more is taken from the system until this read is answered (a full read buffer
  // stops the socket reading). Were it to read on, the socket would take the end of the peer's
  // sending (a peer that shuts it down right after its request) for the end of the connection
  // and close at once, the reply unsent.
  socket->setReadBufferSize(std::max<qint64>(socket->bytesAvailable(), 1));
  QPointer<QTcpSocket> guard(socket);
  QMetaObject::invokeMethod(this, [this, guard] { Handle(guard); }, Qt::QueuedConnection);
}

void DialRequestServer::Handle(QPointer<QTcpSocket> socket) {
  if (!socket) return;
  // peeked, not read: a read that empties the buffer lets the socket read on from the system
  const QByteArray data = socket->peek(socket->bytesAvailable());
  DialOutcome outcome;
  if (!data.isEmpty()) {
    outcome = handler_.HandleReceived(
        std::string_view(data.constData(), static_cast<size_t>(data.size())));
  }
  // the dial may have run the event loop: the peer may be gone by now
  if (!socket) return;
  if (outcome.reply) {
    socket->write(outcome.reply->data(), static_cast<qint64>(outcome.reply->size()));
    socket->flush();
  }
  if (outcome.close) {
    Drop(socket);
    return;
  }
  socket->setProperty(kPendingProperty, false);
  if (socket->bytesToWrite() == 0) ReadOn(socket);
}

void DialRequestServer::ReadOn(QTcpSocket* socket) {
  // the read answered leaves the buffer, which takes the next one
  if (socket->bytesAvailable() > 0) socket->skip(socket->bytesAvailable());
  socket->setReadBufferSize(ReadLimit());
}

qint64 DialRequestServer::ReadLimit() const {
  // one more byte than a request may have, so that an oversized read is seen as such
  return static_cast<qint64>(handler_.MaxRequestBytes()) + 1;
}

void DialRequestServer::Drop(QTcpSocket* socket) {
  socket->abort();
  socket->deleteLater();
}

}  // namespace agentphone
