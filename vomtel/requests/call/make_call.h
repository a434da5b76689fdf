// The make-call family: one request (class 0x41, code 0x65) whose last body byte is the call
// kind: 0 an ordinary call, 1 observation, 2 observation with talk, 3 whisper.
#pragma once

#include <string_view>

namespace vomtel {

class OrbaAdapter;

// UUI at most 32 bytes, UEI 1024, CI 128, every str8 text 255, else 3025 with nothing logged
// or numbered. The server's result word, or 3007, 2, 3013, 3014, 3112.
int MakeCall(OrbaAdapter& adapter, std::string_view callingDN, std::string_view calledDN,
             std::string_view UUI, std::string_view accCode, std::string_view authCode,
             std::string_view UEI, std::string_view CI, int gate);
int ObservationCall(OrbaAdapter& adapter, std::string_view callingDN, std::string_view calledDN,
                    std::string_view UUI, std::string_view accCode, std::string_view authCode,
                    std::string_view UEI, std::string_view CI, int gate);
int ObservationTalkCall(OrbaAdapter& adapter, std::string_view callingDN,
                        std::string_view calledDN, std::string_view UUI,
                        std::string_view accCode, std::string_view authCode,
                        std::string_view UEI, std::string_view CI, int gate);
int WhisperCall(OrbaAdapter& adapter, std::string_view callingDN, std::string_view calledDN,
                std::string_view UUI, std::string_view accCode, std::string_view authCode,
                std::string_view UEI, std::string_view CI, int gate);

}  // namespace vomtel
