#include "vomtel/requests/call/phone_features.h"

#include "vomtel/requests/call/call_request.h"

namespace vomtel {

namespace {

// The four features that carry the device and one mode byte.
int DeviceMode(OrbaAdapter& adapter, const CallShape& shape, std::string_view modeOpening,
               std::string_view DN, int mode, int gate) {
  return Guarded([&] {
    const U8 modeByte(mode);
    return RunCall(adapter, gate,
                   {shape,
                    {},
                    {Str8{DN}, modeByte},
                    {{"\t\tDN\t\t[", Shown(DN)}, {modeOpening, Shown(modeByte.value)}}});
  });
}

}  // namespace

int SendDTMF(OrbaAdapter& adapter, std::string_view DN, std::uint32_t call,
             std::string_view DTMFdigits, std::int32_t ToneDuration, std::int32_t PauseDuration,
             int gate) {
  return Guarded([&] {
    return RunCall(adapter, gate,
                   {shape::kSendDTMF,
                    {},
                    {U32(call), Str8{DN}, Str8{DTMFdigits}, U32(ToneDuration),
                     U32(PauseDuration)},
                    {{"\t\tCall\t\t[", ShownUnsigned(call)},
                     {"\t\tDN\t\t[", Shown(DN)},
                     {"\t\tType\t         \t[", "0"},
                     {"\t\tDTMFdigits\t         \t[", Shown(DTMFdigits)},
                     {"\t\tToneDuration\t         \t[", Shown(ToneDuration)},
                     {"\t\tPauseDuration\t\t\t\t     \t[", Shown(PauseDuration)}}});
  });
}

int SetFeatureAutoAnswer(OrbaAdapter& adapter, std::string_view DN, int AutoMode, int gate) {
  return DeviceMode(adapter, shape::kSetFeatureAutoAnswer, "\t\tAutoMode\t\t[", DN, AutoMode,
                    gate);
}

int SetFeatureSpeakerMute(OrbaAdapter& adapter, std::string_view DN, int speakmuteMode,
                          int gate) {
  return DeviceMode(adapter, shape::kSetFeatureSpeakerMute, "\t\tspeakmuteMode\t\t[", DN,
                    speakmuteMode, gate);
}

int SetFeatureMicrophoneMute(OrbaAdapter& adapter, std::string_view DN, int micmuteMode,
                             int gate) {
  return DeviceMode(adapter, shape::kSetFeatureMicrophoneMute, "\t\tmicmuteMode\t\t[", DN,
                    micmuteMode, gate);
}

int SetFeatureForward(OrbaAdapter& adapter, std::string_view DN, int forwardMode, int forwardOn,
                      std::string_view forwardDn, int gate) {
  return Guarded([&] {
    const U8 modeByte(forwardMode), onByte(forwardOn);
    return RunCall(adapter, gate,
                   {shape::kSetFeatureForward,
                    {},
                    {Str8{DN}, modeByte, onByte, Str8{forwardDn}},
                    {{"\t\tDN\t\t[", Shown(DN)},
                     {"\t\tforwardMode\t\t[", Shown(modeByte.value)},
                     {"\t\tforwardOn\t\t[", Shown(onByte.value)},
                     {"\t\tforwardDn\t\t[", Shown(forwardDn)}}});
  });
}

int SetFeatureDND(OrbaAdapter& adapter, std::string_view DN, int DNDMode, int gate) {
  return DeviceMode(adapter, shape::kSetFeatureDND, "\t\tDNDMode\t\t[", DN, DNDMode, gate);
}

}  // namespace vomtel
