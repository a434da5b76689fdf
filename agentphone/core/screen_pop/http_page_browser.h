// The outbound page called without any window: a plain GET of its URL. Nothing stays open, so
// there is nothing to end; a failure goes to the program's log.
#pragma once

#include <functional>
#include <string_view>

#include "agentphone/core/screen_pop/browser.h"
#include "agentphone/core/screen_pop/http_client.h"

namespace agentphone {

class HttpPageBrowser final : public Browser {
 public:
  HttpPageBrowser(HttpClient& http, std::function<void(std::string_view)> log)
      : http_(http), log_(std::move(log)) {}

  int64_t Open(const std::string& url) override;
  void End(int64_t) override {}

 private:
  HttpClient& http_;
  std::function<void(std::string_view)> log_;
};

}  // namespace agentphone
