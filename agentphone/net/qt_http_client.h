// HTTP GETs on the program's event loop with Qt Network. The URL goes on the wire as built,
// blanks as %20; the body, when there is one, is sent with the GET as text. Every request has
// a time-out for the whole exchange, counted from the loop's first turn after the request was
// queued, when its transfer starts; any answer of the server, whatever its status, counts as
// delivered.
#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QSet>

#include "agentphone/core/screen_pop/http_client.h"

class QNetworkReply;

namespace agentphone {

class QtHttpClient final : public QObject, public HttpClient {
  Q_OBJECT

 public:
  static constexpr int kDefaultTimeoutMs = 5000;

  explicit QtHttpClient(int timeoutMs = kDefaultTimeoutMs, QObject* parent = nullptr);
  // Ends the requests still open without calling their `done`.
  ~QtHttpClient() override;

  void Get(const HttpRequest& request, std::function<void(const HttpResult&)> done) override;

  int Pending() const { return static_cast<int>(pending_.size()); }

 private:
  int timeoutMs_;
  QNetworkAccessManager manager_;
  QSet<QNetworkReply*> pending_;
};

}  // namespace agentphone
