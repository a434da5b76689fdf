#include "vomtel_ocx/outbound_control/outbound_control.h"

#include <cstring>
#include <string>

#include "vomcom/bstr.h"
#include "vomtel/vomtel.h"
#include "vomtel_ocx/module/control_factories.h"
#include "vomtel_ocx/module/control_surface.h"
#include "vomtel_ocx/module/module_ids.h"
#include "vomtel_ocx/typelib/type_descriptions.h"

namespace vomtelx {
namespace {

using vomcom::Member;
using vomcom::MemberKind;
using Ctrl = OutboundControl;

constexpr CLSID kPages[] = {kClsidOutboundPage};

const Member<Ctrl> kMembers[] = {
    {1, "vomtelobsetcampaignlisthandleX", MemberKind::Method, VT_I4,
     {VT_I4, VT_I2, VT_I4, VT_I4, VT_BSTR, VT_I4, VT_BSTR, VT_I4}, true,
     &Ctrl::SetCampaignListHandle},
    {DISPID_ABOUTBOX, "AboutBox", MemberKind::Method, VT_EMPTY, {}, true, &Ctrl::AboutBox},
};

}  // namespace

const vomcom::ControlClass OutboundControl::kClass = {
    kClsidOutboundControl, kIidOutboundDispatch, kIidOutboundEvents, kOutboundDispatchType,
    kPages, false};

std::span<const Member<OutboundControl>> OutboundControl::Members() { return kMembers; }

HRESULT OutboundControl::SetCampaignListHandle(const vomcom::Args& args, VARIANT* result) {
  const int32_t gate = args.I4(0);
  const int16_t invoke = args.I2(1);
  CampaignListHandleRecord record;
  std::memset(&record, 0, sizeof record);
  // Bytes 0-7 carry the gate and the invoke id; the library does not read them.
  std::memcpy(record.reserved0, &gate, sizeof gate);
  std::memcpy(record.reserved0 + 4, &invoke, sizeof invoke);
  record.CiodId = 1;
  record.CampaignId = args.I4(2);
  record.ListKind = args.I4(3);
  const std::string listMode = vomcom::Bstr::Copy(args.Bstr(4)).ToNarrow();
  record.ListMode = listMode.empty() ? '\0' : listMode[0];
  record.AppKind = args.I4(5);
  const std::string fileName =
      vomcom::Bstr::Copy(args.Bstr(6)).ToNarrowCut(sizeof record.FileName);
  std::memcpy(record.FileName, fileName.data(), fileName.size());
  record.ListCount = args.I4(7);

  const int r = vomtelSetCampaignListHandle(gate, invoke, &record);
  if (result != nullptr) {
    result->vt = VT_I4;
    result->lVal = r;
  }
  return S_OK;
}

HRESULT OutboundControl::AboutBox(const vomcom::Args&, VARIANT*) {
  const AboutTexts about = AboutBoxTexts("vomtel_ocxOB");
  ShowMessage(about.caption, about.line);
  return S_OK;
}

void OutboundControl::OnDraw(const VcSurface& surface) { DrawControlSurface(surface, 3); }

// The module's seam.
HRESULT CreateOutboundControl(REFIID riid, void** out) {
  return vomcom::ClassFactory<OutboundControl>::Instance().CreateInstance(nullptr, riid, out);
}

ControlTypes OutboundControlTypes() {
  return {OutboundControl::Table().MakeTypeInfo(kOutboundDispatchType),
          vomcom::MakeEventTypeInfo(kOutboundEventsType, {})};
}

}  // namespace vomtelx
