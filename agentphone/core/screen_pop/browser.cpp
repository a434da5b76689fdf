#include "agentphone/core/screen_pop/browser.h"

namespace agentphone {

int64_t NextBrowserHandle() {
  static int64_t last = 0;
  return ++last;
}

}  // namespace agentphone
