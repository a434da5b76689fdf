#include "agentphone/net/qt_http_client.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace agentphone {
namespace {

constexpr const char* kTimedOutProperty = "requestTimedOut";

}  // namespace

QtHttpClient::QtHttpClient(int timeoutMs, QObject* parent)
    : QObject(parent), timeoutMs_(timeoutMs > 0 ? timeoutMs : kDefaultTimeoutMs) {}

QtHttpClient::~QtHttpClient() {
  const QSet<QNetworkReply*> open = std::exchange(pending_, {});
  for (QNetworkReply* reply : open) {
    reply->disconnect(this);
    reply->abort();
  }
}

void QtHttpClient::Get(const HttpRequest& request, std::function<void(const HttpResult&)> done) {
  // a request line cannot carry a blank; everything else goes as it was built
  QByteArray encoded = QByteArray::fromStdString(request.url);
  encoded.replace(" ", "%20");
  QNetworkRequest req(QUrl::fromEncoded(encoded, QUrl::TolerantMode));
  QNetworkReply* reply;
  if (request.body.empty()) {
    reply = manager_.get(req);
  } else {
    req.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("text/plain; charset=UTF-8"));
    reply = manager_.sendCustomRequest(req, QByteArrayLiteral("GET"),
                                       QByteArray::fromStdString(request.body));
  }
  pending_.insert(reply);

  auto* timer = new QTimer(reply);
  timer->setSingleShot(true);
  connect(timer, &QTimer::timeout, reply, [reply] {
    reply->setProperty(kTimedOutProperty, true);
    reply->abort();
  });
  // The time counts from the start of the transfer. The request starts only on the loop's next
  // turn (the reply posts its own start), and the window may be held until then: the timer's
  // start is posted after the reply's, so a hold does not use the request's time.
  QMetaObject::invokeMethod(timer, [timer, ms = timeoutMs_] { timer->start(ms); },
                            Qt::QueuedConnection);

  connect(reply, &QNetworkReply::finished, this, [this, reply, done = std::move(done)] {
    pending_.remove(reply);
    reply->deleteLater();
    HttpResult result;
    if (reply->property(kTimedOutProperty).toBool()) {
      result.error = kHttpTimeoutText;
    } else if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()) {
      result.ok = true;
    } else {
      result.error = reply->errorString().toStdString();
    }
    if (done) done(result);
  });
}

}  // namespace agentphone
