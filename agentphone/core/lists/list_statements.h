// The statements of the lists, with their values as bound parameters.
#pragma once

#include <string>
#include <string_view>

#include "agentphone/core/lists/database.h"

namespace agentphone::lists {

// Call-back requests whose entry date (eight digits) lies in [sDate, eDate].
Statement CallBackQuery(const std::string& sDate, const std::string& eDate);

// Writes the outcome and the attempts of one request.
Statement CallBackUpdate(const std::string& outcome, const std::string& attempts,
                         const std::string& callBackCode);

// Kinds of the abandoned-call list's combo box.
inline constexpr std::string_view kDropAll = "전체";
inline constexpr std::string_view kDropQueue = "포기호";
inline constexpr std::string_view kDropDistributed = "분배포기호";

// Abandoned calls of both statistics tables started between sDate 00:00:00 and eDate
// 23:59:59: "전체" both kinds, "포기호" those abandoned in the queue, any other kind those
// abandoned after distribution to an agent. Each row carries its kind in GB.
Statement DropCallQuery(std::string_view kind, const std::string& sDate,
                        const std::string& eDate);

// The minute check's question, which every supported database answers.
Statement CurrentDateQuery();

}  // namespace agentphone::lists
