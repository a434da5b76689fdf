// DTMF digits on a call, and the feature settings of the agent's device: auto answer, speaker
// mute, microphone mute, call forwarding, do-not-disturb. Modes go out as their low byte,
// with no meaning given to them here.
#pragma once

#include <cstdint>
#include <string_view>

namespace vomtel {

class OrbaAdapter;

// Class 0x41; codes 0xA0 (DTMF), 0xE2, 0xE4, 0xE3, 0xDE, 0xDF. The server's result word, or
// 3007, 3025 (a text over 255 bytes), 2, 3013, 3014, 3112.
int SendDTMF(OrbaAdapter& adapter, std::string_view DN, std::uint32_t call,
             std::string_view DTMFdigits, std::int32_t ToneDuration, std::int32_t PauseDuration,
             int gate);
int SetFeatureAutoAnswer(OrbaAdapter& adapter, std::string_view DN, int AutoMode, int gate);
int SetFeatureSpeakerMute(OrbaAdapter& adapter, std::string_view DN, int speakmuteMode,
                          int gate);
int SetFeatureMicrophoneMute(OrbaAdapter& adapter, std::string_view DN, int micmuteMode,
                             int gate);
int SetFeatureForward(OrbaAdapter& adapter, std::string_view DN, int forwardMode, int forwardOn,
                      std::string_view forwardDn, int gate);
int SetFeatureDND(OrbaAdapter& adapter, std::string_view DN, int DNDMode, int gate);

}  // namespace vomtel
