#include "tests/agentphone/net/capture_http_server.h"

#include <QHostAddress>
#include <QTcpSocket>

namespace agentphone::net_testing {

CaptureHttpServer::CaptureHttpServer(Mode mode) : mode_(mode) {
  connect(&server_, &QTcpServer::newConnection, this, &CaptureHttpServer::Accept);
  server_.listen(QHostAddress::LocalHost, 0);
}

CaptureHttpServer::~CaptureHttpServer() {
  // the connections go with the server, after the members they would reach
  for (QTcpSocket* s : server_.findChildren<QTcpSocket*>()) s->disconnect(this);
}

std::string CaptureHttpServer::Base() const {
  return "http://127.0.0.1:" + std::to_string(server_.serverPort());
}

void CaptureHttpServer::Accept() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
      buffers_.remove(socket);
      socket->deleteLater();
    });
  }
}

void CaptureHttpServer::Read(QTcpSocket* socket) {
  QByteArray& buffer = buffers_[socket];
  buffer += socket->readAll();
  for (;;) {
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0) return;
    const qsizetype lineEnd = buffer.indexOf("\r\n");
    CapturedRequest r;
    r.line = buffer.left(lineEnd).toStdString();
    r.headers = buffer.mid(lineEnd + 2, headEnd - lineEnd - 2).toStdString();
    qsizetype length = 0;
    for (const QByteArray& h : buffer.mid(lineEnd + 2, headEnd - lineEnd - 2).split('\n')) {
      const qsizetype colon = h.indexOf(':');
      if (colon > 0 && h.left(colon).trimmed().toLower() == "content-length") {
        length = h.mid(colon + 1).trimmed().toLongLong();
      }
    }
    if (buffer.size() < headEnd + 4 + length) return;  // the body is still coming
    r.body = buffer.mid(headEnd + 4, length).toStdString();
    buffer.remove(0, headEnd + 4 + length);
    requests_.push_back(std::move(r));
    if (mode_ == Mode::kAnswer) socket->write("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n");
  }
}

}  // namespace agentphone::net_testing
