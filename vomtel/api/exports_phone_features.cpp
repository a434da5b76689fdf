// Exports of the phone features: do-not-disturb, forwarding, microphone and speaker mute and
// auto answer.
#include "vomtel/api/export_guard.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/requests/call/phone_features.h"
#include "vomtel/vomtel.h"

using namespace vomtel::api;
using vomtel::OrbaAdapter;

extern "C" {

int VOMTEL_CALL vomtelSetFeatureDND(int gate, int, const char* device, int mode,
                                    const PrivateDataBlock*) {
  return Export([&] { return vomtel::SetFeatureDND(OrbaAdapter::Instance(), Text(device), mode, gate); });
}

int VOMTEL_CALL vomtelSetFeatureForward(int gate, int, const char* device, int forwardMode,
                                        int forwardOn, const char* forwardDn,
                                        const PrivateDataBlock*) {
  return Export([&] {
    return vomtel::SetFeatureForward(OrbaAdapter::Instance(), Text(device), forwardMode, forwardOn,
                                     Text(forwardDn), gate);
  });
}

int VOMTEL_CALL vomtelSetFeatureMicrophoneMute(int gate, int, const char* device, int mode) {
  return Export([&] {
    return vomtel::SetFeatureMicrophoneMute(OrbaAdapter::Instance(), Text(device), mode, gate);
  });
}

int VOMTEL_CALL vomtelSetFeatureSpeakerMute(int gate, int, const char* device, int mode) {
  return Export([&] {
    return vomtel::SetFeatureSpeakerMute(OrbaAdapter::Instance(), Text(device), mode, gate);
  });
}

int VOMTEL_CALL vomtelSetFeatureAutoAnswer(int gate, int, const char* device, int mode,
                                           const PrivateDataBlock*) {
  return Export([&] {
    return vomtel::SetFeatureAutoAnswer(OrbaAdapter::Instance(), Text(device), mode, gate);
  });
}

}  // extern "C"
