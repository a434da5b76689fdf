// The nine type descriptions of the module's type library, three per control, in library
// order: the dispatch interface, the event interface and the class.
#pragma once

#include <array>

#include "vomcom/automation.h"
#include "vomtel_ocx/module/module_ids.h"

namespace vomtelx {

inline constexpr VcImplType kMainImpl[] = {{kIidMainDispatch, VC_IMPLTYPE_DEFAULT},
                                           {kIidMainEvents, VC_IMPLTYPE_DEFAULT | VC_IMPLTYPE_SOURCE}};
inline constexpr VcImplType kEventImpl[] = {
    {kIidEventDispatch, VC_IMPLTYPE_DEFAULT},
    {kIidEventEvents, VC_IMPLTYPE_DEFAULT | VC_IMPLTYPE_SOURCE}};
inline constexpr VcImplType kOutboundImpl[] = {
    {kIidOutboundDispatch, VC_IMPLTYPE_DEFAULT},
    {kIidOutboundEvents, VC_IMPLTYPE_DEFAULT | VC_IMPLTYPE_SOURCE}};

inline constexpr uint32_t kCoclassFlags = VC_TYPEFLAG_CONTROL | VC_TYPEFLAG_CREATABLE;

inline constexpr VcInterfaceInfo kMainDispatchType = {
    "_Dvomtel_ocx", "Dispatch interface for vomtel_ocx Control", kIidMainDispatch,
    VC_TYPE_DISPATCH, VC_TYPEFLAG_HIDDEN, 0, nullptr};
inline constexpr VcInterfaceInfo kMainEventsType = {
    "_Dvomtel_ocxEvents", "Event interface for vomtel_ocx Control", kIidMainEvents,
    VC_TYPE_EVENTS, 0, 0, nullptr};
inline constexpr VcInterfaceInfo kMainClassType = {
    "vomtel_ocx", "vomtel_ocx Control", kClsidMainControl, VC_TYPE_COCLASS, kCoclassFlags, 2,
    kMainImpl};

inline constexpr VcInterfaceInfo kEventDispatchType = {
    "_Dvomtel_ocxEvt", "Dispatch interface for vomtel_ocxEvt Control", kIidEventDispatch,
    VC_TYPE_DISPATCH, VC_TYPEFLAG_HIDDEN, 0, nullptr};
inline constexpr VcInterfaceInfo kEventEventsType = {
    "_Dvomtel_ocxEvtEvents", "Event interface for vomtel_ocxEvt Control", kIidEventEvents,
    VC_TYPE_EVENTS, 0, 0, nullptr};
inline constexpr VcInterfaceInfo kEventClassType = {
    "vomtel_ocxEvt", "vomtel_ocxEvt Control", kClsidEventControl, VC_TYPE_COCLASS, kCoclassFlags,
    2, kEventImpl};

inline constexpr VcInterfaceInfo kOutboundDispatchType = {
    "_Dvomtel_ocxOB", "Dispatch interface for vomtel_ocxOB Control", kIidOutboundDispatch,
    VC_TYPE_DISPATCH, VC_TYPEFLAG_HIDDEN, 0, nullptr};
inline constexpr VcInterfaceInfo kOutboundEventsType = {
    "_Dvomtel_ocxOBEvents", "Event interface for vomtel_ocxOB Control", kIidOutboundEvents,
    VC_TYPE_EVENTS, 0, 0, nullptr};
inline constexpr VcInterfaceInfo kOutboundClassType = {
    "vomtel_ocxOB", "vomtel_ocxOB Control", kClsidOutboundControl, VC_TYPE_COCLASS,
    kCoclassFlags, 2, kOutboundImpl};

inline constexpr VcTypeLibInfo kTypeLibInfo = {kLibId,   kLibMajor,      kLibMinor,   kLibLocale,
                                               kLibName, kLibHelpString, kLibHelpFile};

}  // namespace vomtelx
