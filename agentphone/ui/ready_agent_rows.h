// The rows of the consultation dialog's grid from the ready-agent list that "ReadyGet" left:
// records "employee_id|device|blendmode|continuetime" each ended by "^", the first `count` of
// them. A count beyond the records in the list, and fields missing from a record, give no row
// and empty cells rather than reading past the list.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace agentphone::ui {

struct ReadyAgentRow {
  std::string name;  // the extension's name in [DNINFO]
  std::string device;
  std::string blendmode;
  std::string continuetime;
};

using NameOfExtension = std::function<std::string(std::string_view device)>;

std::vector<ReadyAgentRow> ReadyAgentRows(std::string_view list, int32_t count,
                                          const NameOfExtension& nameOf);

}  // namespace agentphone::ui
