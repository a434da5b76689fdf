// The request table of the call-class (0x41) requests: per operation the label that opens its
// request log, the name its outcome line carries and its code byte. Bodies and log fields are
// in the operations' own files.
#pragma once

#include <cstdint>
#include <string_view>

namespace vomtel {

struct CallShape {
  std::string_view label;    // request log head up to "gate["
  std::string_view outcome;  // name in the outcome line; empty: the operation writes none
  std::uint8_t code;
};

namespace shape {

inline constexpr CallShape kAgentStatus{"vomtelAgentStatus: gate[", "vomtelAgentStatus", 0xDD};

inline constexpr CallShape kMakeCall{"vomtelMakeCall: gate[", "vomtelMakeCall", 0x65};
inline constexpr CallShape kObservationCall{"vomtelObservationCall: gate[",
                                            "vomtelObservationCall", 0x65};
inline constexpr CallShape kObservationTalkCall{"vomtelObservationTalkCall: gate[",
                                                "vomtelObservationTalkCall", 0x65};
inline constexpr CallShape kWhisperCall{"vomtelWhisperCall: gate[", "vomtelWhisperCall", 0x65};

inline constexpr CallShape kAnswerCall{"vomtelAnswerCall: gate[", "vomtelAnswerCall", 0x14};
inline constexpr CallShape kClearConnectionCall{"vomtelClearConnectionCall: gate[",
                                                "vomtelClearConnectionCall", 0x28};
inline constexpr CallShape kHoldCall{"vomtelHoldCall: gate[", "vomtelHoldCall", 0x5A};
inline constexpr CallShape kRetrieveCall{"vomtelRetrieveCall: gate[", "vomtelRetrieveCall", 0x78};

inline constexpr CallShape kConsultationCall{"vomtelConsultationCall: gate[",
                                             "vomtelConsultationCall", 0x3C};
inline constexpr CallShape kTransferCall{"vomtelTransferCall: gate[", "vomtelTransfer", 0x82};
inline constexpr CallShape kConferenceCall{"vomtelConferenceCall: gate[", "vomtelConferenceCall",
                                           0x32};
inline constexpr CallShape kReconnectCall{"vomtelReconnectCall: gate[", "vomtelReconnectCall",
                                          0x6E};
inline constexpr CallShape kAlternateCall{"vomtelAlternateCall: gate[", "vomtelAlternateCall",
                                          0x0A};

inline constexpr CallShape kSingleStepTransfer{"vomtelSingleStepTransfer: gate[",
                                               "vomtelSingleStepTransfer", 0xAC};
inline constexpr CallShape kSingleStepConference{"vomtelSingleStepConference: gate[",
                                                 "vomtelSingleStepConference", 0xAD};

// The consultation step of the one-step conference writes no outcome line of its own.
inline constexpr CallShape kOneStepConsultation{"vomtelOneStepConference - Consultation: gate[",
                                                "", 0x3C};

inline constexpr CallShape kDivertDeflect{"vomtelDivertDeflect: gate[", "vomtelDivertDeflect",
                                          0x51};
inline constexpr CallShape kDivertDirect{"vomtelDivertDirect: gate[", "vomtelDivertDirect", 0x53};

inline constexpr CallShape kSendDTMF{"vomtelSendDTMF: gate[", "vomtelSendDTMF", 0xA0};
inline constexpr CallShape kSetFeatureAutoAnswer{"vomtelSetFeatureAutoAnswer: gate[",
                                                 "vomtelSetFeatureAutoAnswer", 0xE2};
inline constexpr CallShape kSetFeatureSpeakerMute{"vomtelSetFeatureSpeakerMute: gate[",
                                                  "vomtelSetFeatureSpeakerMute", 0xE4};
inline constexpr CallShape kSetFeatureMicrophoneMute{"vomtelSetFeatureMicrophoneMute: gate[",
                                                     "vomtelSetFeatureMicroPhoneMute", 0xE3};
inline constexpr CallShape kSetFeatureForward{"vomtelSetFeatureForward: gate[",
                                              "vomtelSetFeatureForward", 0xDE};
inline constexpr CallShape kSetFeatureDND{"vomtelSetFeatureDND: gate[", "vomtelSetFeatureDND",
                                          0xDF};

}  // namespace shape
}  // namespace vomtel
