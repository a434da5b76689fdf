#include "agentphone/core/screen_pop/http_page_browser.h"

namespace agentphone {

int64_t HttpPageBrowser::Open(const std::string& url) {
  auto log = log_;
  http_.Get(HttpRequest{url, {}}, [log](const HttpResult& r) {
    if (!r.ok && log) log(r.error);
  });
  return 0;
}

}  // namespace agentphone
