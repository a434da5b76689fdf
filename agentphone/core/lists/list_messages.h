// Messages of the list windows, under the program's title.
#pragma once

#include <string_view>

namespace agentphone::lists {

inline constexpr std::string_view kMsgDbLost =
    "DB와 연결이 끊겼습니다. 소프트폰을 다시 시작해주시기 바랍니다.";
inline constexpr std::string_view kMsgWrongNumber =
    "잘못된 전화번호 입니다 . 전화번호를 확인하세요.";
inline constexpr std::string_view kMsgNotInCall = "통화중이 아닙니다.";
inline constexpr std::string_view kMsgWeekLimit = "1주일 이상 DATA조회 불가 합니다.";
// A save pressed while no request of the list is selected.
inline constexpr std::string_view kMsgNoRequestSelected = "결과를 저장할 요청을 먼저 선택하세요.";

// The log line of a call-back outcome that could not be written: the key of the request, " : "
// and the driver's text follow.
inline constexpr std::string_view kLogSaveFailed = "[CallBack 결과 저장 ERROR] ";

// Dial buttons refuse numbers shorter than this (in characters).
inline constexpr size_t kMinDialLength = 5;

}  // namespace agentphone::lists
