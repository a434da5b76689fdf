// The outbound control: one method that hands a campaign's calling list to the server.
#pragma once

#include <span>

#include "vomcom/control_base.h"

namespace vomtelx {

class OutboundControl final : public vomcom::ControlBase<OutboundControl> {
 public:
  static const vomcom::ControlClass kClass;
  static std::span<const vomcom::Member<OutboundControl>> Members();

  // gate, invokeID (16 bits), campaignID, listkind, listmode, appkind, listfilename, listcount;
  // the library's result unchanged.
  HRESULT SetCampaignListHandle(const vomcom::Args& args, VARIANT* result);
  HRESULT AboutBox(const vomcom::Args& args, VARIANT* result);

 protected:
  void OnDraw(const VcSurface& surface) override;

 private:
  friend class vomcom::ControlBase<OutboundControl>;
  ~OutboundControl() override = default;
};

}  // namespace vomtelx
