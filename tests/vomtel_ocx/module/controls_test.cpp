// The three controls as a host creates them through the runtime: their interfaces, connection
// point, type-info view, page and extent; the module's unload answer while an object lives;
// object safety; DISPIDs by name and in the view; the members the view leaves out.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "module_host.h"
#include "vomcom/dispatch_sink.h"
#include "vomcom/variant.h"

namespace vomtelx::module_test {
namespace {

using vomcom::ComPtr;

struct ControlRow {
  const char* name;
  const char* clsid;
  const char* progId;
  const char* dispatchIid;
  const char* eventsIid;
  const char* page;
  bool objectSafety;
  SIZEL extentOf10000x4000;
};

const ControlRow kControls[] = {
    {"main", "{46BE120F-FA60-4FEC-8327-5690F3E31C31}", "vomtel_ocx.vomtel_ocxCtrl.1",
     "{0AA50762-2051-4EC4-90C4-9AC3A6AD72E8}", "{3F53B292-706C-4661-9DBB-C4C6C4CAF88B}",
     "{EA8FB376-50EE-43B5-9DE5-611AE56E4380}", true, {750, 750}},
    {"event", "{2E830C8F-BC52-403A-8B18-B8A89127AFC8}", "vomtel_ocx.vomtel_ocxEvtCtrl.1",
     "{5E8402DC-AEEB-41C0-B5A8-B1784799EEF7}", "{EC6B518F-66E2-4379-A34A-EA24FB42E486}",
     "{50EACBD6-8050-4868-BD6B-F92655C0E8B9}", true, {750, 750}},
    {"outbound", "{069F236C-F6CC-40BA-B215-2075A8E06F8F}", "vomtel_ocx.vomtel_ocxOBCtrl.1",
     "{45A19336-AE40-45F4-B213-A8E449731685}", "{E34464D7-9503-4D82-B830-17287D3DFCD8}",
     "{B9E3561D-3EDC-4809-8122-500DF9E4A72B}", false, {10000, 4000}},
};

ComPtr<IDispatch> CreateByProgId(const char* progId) {
  ComPtr<IDispatch> d;
  CLSID clsid{};
  EXPECT_EQ(VcCLSIDFromProgIDA(progId, &clsid), S_OK) << progId;
  EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, d.PutVoid()),
            S_OK)
      << progId;
  return d;
}

ComPtr<IVcTypeInfo> ViewOf(IDispatch* d) {
  ITypeInfo* raw = nullptr;
  EXPECT_EQ(d->GetTypeInfo(0, 0, &raw), S_OK);
  ComPtr<IVcTypeInfo> view;
  if (raw != nullptr) {
    auto* unknown = reinterpret_cast<IUnknown*>(raw);
    EXPECT_EQ(unknown->QueryInterface(IID_IVcTypeInfo, view.PutVoid()), S_OK);
    unknown->Release();
  }
  return view;
}

std::vector<VcMemberInfo> MembersOf(IVcTypeInfo* view) {
  std::vector<VcMemberInfo> members;
  UINT n = 0;
  EXPECT_EQ(view->GetMemberCount(&n), S_OK);
  for (UINT i = 0; i < n; ++i) {
    VcMemberInfo m{};
    if (view->GetMember(i, &m) == S_OK) members.push_back(m);
  }
  return members;
}

class ControlTest : public RegisteredModuleTest,
                    public ::testing::WithParamInterface<ControlRow> {};

TEST_P(ControlTest, CreatedByClsidOrProgIdAnswersItsInterfacesAndNoOthers) {
  const ControlRow& row = GetParam();
  ComPtr<IDispatch> byClsid;
  ASSERT_EQ(CoCreateInstance(Guid(row.clsid), nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                             byClsid.PutVoid()),
            S_OK);
  const ComPtr<IDispatch> byProgId = CreateByProgId(row.progId);
  for (IDispatch* d : {byClsid.Get(), byProgId.Get()}) {
    ASSERT_NE(d, nullptr);
    ComPtr<IUnknown> identity;
    ASSERT_EQ(d->QueryInterface(IID_IUnknown, identity.PutVoid()), S_OK);
    struct {
      GUID iid;
      HRESULT hr;
    } const cases[] = {
        {IID_IDispatch, S_OK},
        {Guid(row.dispatchIid), S_OK},
        {IID_IConnectionPointContainer, S_OK},
        {IID_IPersistPropertyBag, S_OK},
        {IID_IVcControl, S_OK},
        {Guid("{CB5BDC81-93C1-11CF-8F20-00805F2CD064}"),  // IObjectSafety
         row.objectSafety ? S_OK : E_NOINTERFACE},
        {Guid(row.eventsIid), E_NOINTERFACE},  // the control calls it; it does not serve it
        {IID_IClassFactory, E_NOINTERFACE},
        {Guid(row.clsid), E_NOINTERFACE},
    };
    for (const auto& c : cases) {
      char text[39];
      VcGuidToText(c.iid, text);
      ComPtr<IUnknown> p;
      EXPECT_EQ(d->QueryInterface(c.iid, p.PutVoid()), c.hr) << text;
      if (c.hr != S_OK) {
        EXPECT_EQ(p.Get(), nullptr) << text;
        continue;
      }
      ComPtr<IUnknown> back;
      ASSERT_EQ(p->QueryInterface(IID_IUnknown, back.PutVoid()), S_OK);
      EXPECT_EQ(back.Get(), identity.Get()) << text << " is the same object";
    }
    // Every other control's dispatch interface is refused.
    for (const ControlRow& other : kControls) {
      if (other.clsid == row.clsid) continue;
      ComPtr<IUnknown> p;
      EXPECT_EQ(d->QueryInterface(Guid(other.dispatchIid), p.PutVoid()), E_NOINTERFACE);
    }
  }
}

TEST_P(ControlTest, FiresThroughItsEventInterfaceAndDescribesItsDispatchInterface) {
  const ControlRow& row = GetParam();
  ComPtr<IDispatch> d = CreateByProgId(row.progId);
  ASSERT_TRUE(d);
  ComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(d.As(IID_IConnectionPointContainer, std::addressof(container)), S_OK);
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(container->FindConnectionPoint(Guid(row.eventsIid), point.Put()), S_OK);
  IID iid{};
  ASSERT_EQ(point->GetConnectionInterface(&iid), S_OK);
  EXPECT_TRUE(IsEqualIID(iid, Guid(row.eventsIid)));
  EXPECT_EQ(container->FindConnectionPoint(IID_IDispatch, point.Put()), CONNECT_E_NOCONNECTION);

  UINT count = 0;
  ASSERT_EQ(d->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  ITypeInfo* none = nullptr;
  EXPECT_EQ(d->GetTypeInfo(1, 0, &none), DISP_E_BADINDEX);
  ComPtr<IVcTypeInfo> view = ViewOf(d.Get());
  ASSERT_TRUE(view);
  VcInterfaceInfo info{};
  ASSERT_EQ(view->GetInterfaceInfo(&info), S_OK);
  EXPECT_TRUE(IsEqualIID(info.guid, Guid(row.dispatchIid)));
  EXPECT_EQ(info.kind, static_cast<uint32_t>(VC_TYPE_DISPATCH));
  EXPECT_NE(info.flags & VC_TYPEFLAG_HIDDEN, 0u);

  ComPtr<IPersistPropertyBag> persist;
  ASSERT_EQ(d.As(IID_IPersistPropertyBag, std::addressof(persist)), S_OK);
  CLSID clsid{};
  ASSERT_EQ(persist->GetClassID(&clsid), S_OK);
  EXPECT_TRUE(IsEqualCLSID(clsid, Guid(row.clsid)));
}

TEST_P(ControlTest, HasOnePageAndTheExtentItAllows) {
  const ControlRow& row = GetParam();
  ComPtr<IDispatch> d = CreateByProgId(row.progId);
  ASSERT_TRUE(d);
  ComPtr<IVcControl> control;
  ASSERT_EQ(d.As(IID_IVcControl, std::addressof(control)), S_OK);
  CLSID pages[3];
  ULONG n = 0;
  ASSERT_EQ(control->GetPages(pages, 3, &n), S_OK);
  ASSERT_EQ(n, 1u);
  EXPECT_TRUE(IsEqualCLSID(pages[0], Guid(row.page)));

  // A container asking for 100 x 40 mm.
  const SIZEL asked{10000, 4000};
  ASSERT_EQ(control->SetExtent(&asked), S_OK);
  SIZEL got{};
  ASSERT_EQ(control->GetExtent(&got), S_OK);
  EXPECT_EQ(got.cx, row.extentOf10000x4000.cx);
  EXPECT_EQ(got.cy, row.extentOf10000x4000.cy);
}

TEST_P(ControlTest, ModuleStaysWhileAnythingOfItLives) {
  const ControlRow& row = GetParam();
  ComPtr<IDispatch> d = CreateByProgId(row.progId);
  ASSERT_TRUE(d);
  LoadedModule module;
  ASSERT_TRUE(module.Loaded()) << "the runtime loaded the registered module";
  EXPECT_EQ(module.CanUnloadNow(), S_FALSE);
  ComPtr<IVcTypeInfo> view = ViewOf(d.Get());
  d = nullptr;
  EXPECT_EQ(module.CanUnloadNow(), S_FALSE) << "the type-info view is the module's too";
  view = nullptr;
  EXPECT_EQ(module.CanUnloadNow(), S_OK);

  ComPtr<IClassFactory> factory;
  ASSERT_EQ(CoGetClassObject(Guid(row.clsid), CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             factory.PutVoid()),
            S_OK);
  EXPECT_EQ(module.CanUnloadNow(), S_FALSE);
  ASSERT_EQ(factory->LockServer(TRUE), S_OK);
  factory = nullptr;
  EXPECT_EQ(module.CanUnloadNow(), S_FALSE) << "locked";
  ASSERT_EQ(CoGetClassObject(Guid(row.clsid), CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             factory.PutVoid()),
            S_OK);
  ASSERT_EQ(factory->LockServer(FALSE), S_OK);
  ComPtr<IUnknown> aggregated;
  ComPtr<IDispatch> outer = CreateByProgId(row.progId);
  EXPECT_EQ(factory->CreateInstance(outer.Get(), IID_IUnknown, aggregated.PutVoid()),
            CLASS_E_NOAGGREGATION);
  factory = nullptr;
  outer = nullptr;
  EXPECT_EQ(module.CanUnloadNow(), S_OK);
}

INSTANTIATE_TEST_SUITE_P(Controls, ControlTest, ::testing::ValuesIn(kControls),
                         [](const auto& info) { return std::string(info.param.name); });

// IObjectSafety of the main and event controls: both options always on and never switched off.
class ObjectSafetyTest : public ControlTest {};

TEST_P(ObjectSafetyTest, ReportsAndAcceptsOnlyBothOptions) {
  ComPtr<IDispatch> d = CreateByProgId(GetParam().progId);
  ASSERT_TRUE(d);
  ComPtr<IObjectSafety> safety;
  ASSERT_EQ(d.As(IID_IObjectSafety, std::addressof(safety)), S_OK);
  const GUID offered = Guid(GetParam().dispatchIid);
  struct {
    GUID iid;
    DWORD mask, enabled;
    HRESULT hr;
  } const sets[] = {
      {offered, 3, 3, S_OK},          {IID_IDispatch, 1, 1, S_OK},
      {offered, 1, 3, S_OK},          {offered, 1, 0, E_FAIL},
      {offered, 3, 1, E_FAIL},        {offered, 4, 4, E_FAIL},
      {offered, 7, 7, E_FAIL},        {IID_IClassFactory, 3, 3, E_NOINTERFACE},
      {IID_IClassFactory, 4, 0, E_NOINTERFACE},
  };
  for (const auto& s : sets) {
    EXPECT_EQ(safety->SetInterfaceSafetyOptions(s.iid, s.mask, s.enabled), s.hr)
        << "mask " << s.mask << " enabled " << s.enabled;
  }

  for (const auto& [iid, hr] : {std::pair{offered, S_OK}, std::pair{IID_IClassFactory,
                                                                     E_NOINTERFACE}}) {
    DWORD supported = 0, enabled = 0;
    EXPECT_EQ(safety->GetInterfaceSafetyOptions(iid, &supported, &enabled), hr);
    EXPECT_EQ(supported, 3u);  // written whatever the answer
    EXPECT_EQ(enabled, 3u);
  }
  // Out pointers that are null: E_POINTER and nothing written through the other one.
  DWORD untouched = 0xABCD;
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(offered, nullptr, &untouched), E_POINTER);
  EXPECT_EQ(untouched, 0xABCDu);
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(offered, &untouched, nullptr), E_POINTER);
  EXPECT_EQ(untouched, 0xABCDu);
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IClassFactory, nullptr, nullptr), E_POINTER);
}

INSTANTIATE_TEST_SUITE_P(SafeControls, ObjectSafetyTest,
                         ::testing::Values(kControls[0], kControls[1]),
                         [](const auto& info) { return std::string(info.param.name); });

using Members = RegisteredModuleTest;

TEST_F(Members, AReadyAgentsQueryHasTheSameDispidByNameAndInTheView) {
  ComPtr<IDispatch> d = CreateByProgId(kControls[0].progId);
  ASSERT_TRUE(d);
  for (const char* name : {"vomtelagentreadygetexu", "VOMTELAGENTREADYGETEXU"}) {
    DISPID id = 0;
    ASSERT_EQ(vomcom::GetDispId(d.Get(), name, &id), S_OK) << name;
    EXPECT_EQ(id, 193) << name;
  }
  DISPID none = 0;
  EXPECT_EQ(vomcom::GetDispId(d.Get(), "vomtelagentreadygetexuu", &none), DISP_E_UNKNOWNNAME);
  ComPtr<IVcTypeInfo> view = ViewOf(d.Get());
  ASSERT_TRUE(view);
  int found = 0;
  for (const VcMemberInfo& m : MembersOf(view.Get())) {
    if (std::string(m.name) != "vomtelagentreadygetexu") continue;
    ++found;
    EXPECT_EQ(m.id, 193);
    EXPECT_EQ(m.kind, static_cast<uint32_t>(VC_MEMBER_METHOD));
  }
  EXPECT_EQ(found, 1);
}

// A member the dispatch table serves but the type library does not declare: found by name,
// reachable by DISPID (the call gets past the member lookup), absent from the view.
struct Undeclared {
  int control;  // index into kControls
  const char* name;
  DISPID id;
  WORD flags;
  HRESULT callWithoutArguments;
};

const Undeclared kUndeclared[] = {
    {0, "strcustname", 10, DISPATCH_PROPERTYGET, S_OK},
    {0, "uiagentid", 36, DISPATCH_PROPERTYGET, S_OK},
    {0, "vomtelGetSkillMasterX", 156, DISPATCH_METHOD, DISP_E_BADPARAMCOUNT},
    {0, "vomtelIvrRegisterCall", 176, DISPATCH_METHOD, DISP_E_BADPARAMCOUNT},
    {0, "vomtelAgentReadyGetIIX", 198, DISPATCH_METHOD, DISP_E_BADPARAMCOUNT},
    {0, "AboutBox", DISPID_ABOUTBOX, DISPATCH_METHOD, S_OK},  // no site: nothing shown
    {1, "AboutBox", DISPID_ABOUTBOX, DISPATCH_METHOD, S_OK},
};

TEST_F(Members, UndeclaredMembersAreReachableButNotInTheView) {
  for (const Undeclared& u : kUndeclared) {
    SCOPED_TRACE(std::string(kControls[u.control].name) + " " + u.name);
    ComPtr<IDispatch> d = CreateByProgId(kControls[u.control].progId);
    ASSERT_TRUE(d);
    DISPID id = 0;
    ASSERT_EQ(vomcom::GetDispId(d.Get(), u.name, &id), S_OK);
    EXPECT_EQ(id, u.id);
    vomcom::Variant result;
    EXPECT_EQ(vomcom::Invoke(d.Get(), u.id, u.flags, {}, result.Put()), u.callWithoutArguments);
    ComPtr<IVcTypeInfo> view = ViewOf(d.Get());
    ASSERT_TRUE(view);
    for (const VcMemberInfo& m : MembersOf(view.Get())) {
      EXPECT_NE(m.id, u.id) << m.name;
      EXPECT_NE(std::string(m.name), u.name);
    }
  }

  // The whole customer block of the main control, 10 to 36, by DISPID.
  ComPtr<IDispatch> main = CreateByProgId(kControls[0].progId);
  ASSERT_TRUE(main);
  ComPtr<IVcTypeInfo> view = ViewOf(main.Get());
  ASSERT_TRUE(view);
  const std::vector<VcMemberInfo> members = MembersOf(view.Get());
  for (DISPID id = 10; id <= 36; ++id) {
    vomcom::Variant value;
    EXPECT_EQ(vomcom::Invoke(main.Get(), id, DISPATCH_PROPERTYGET, {}, value.Put()), S_OK) << id;
    for (const VcMemberInfo& m : members) EXPECT_NE(m.id, id) << m.name;
  }
  bool hasNine = false, hasThirtySeven = false;
  for (const VcMemberInfo& m : members) {
    hasNine = hasNine || m.id == 9;
    hasThirtySeven = hasThirtySeven || m.id == 37;
  }
  EXPECT_TRUE(hasNine && hasThirtySeven) << "the neighbours are declared";

  // The outbound control's type library entry does declare its AboutBox.
  ComPtr<IDispatch> outbound = CreateByProgId(kControls[2].progId);
  ASSERT_TRUE(outbound);
  view = ViewOf(outbound.Get());
  ASSERT_TRUE(view);
  std::vector<DISPID> ids;
  for (const VcMemberInfo& m : MembersOf(view.Get())) ids.push_back(m.id);
  EXPECT_EQ(ids, (std::vector<DISPID>{1, DISPID_ABOUTBOX}));
}

}  // namespace
}  // namespace vomtelx::module_test
