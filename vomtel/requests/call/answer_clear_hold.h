// Requests on one call at the agent's device: answer, clear the connection, hold, retrieve.
// Each names the call by its id and the device by its DN.
#pragma once

#include <cstdint>
#include <string_view>

namespace vomtel {

class OrbaAdapter;

// The server's result word, or 3007, 3025 (a DN over 255 bytes), 2, 3013, 3014, 3112.
int AnswerCall(OrbaAdapter& adapter, std::string_view DN, std::uint32_t callId, int gate);
int ClearConnectionCall(OrbaAdapter& adapter, std::string_view DN, std::uint32_t callId,
                        int gate);
int HoldCall(OrbaAdapter& adapter, std::string_view DN, std::uint32_t callId, int gate);
int RetrieveCall(OrbaAdapter& adapter, std::string_view DN, std::uint32_t callId, int gate);

}  // namespace vomtel
