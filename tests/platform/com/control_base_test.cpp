// The control framework: events, timers through the site, persistence, extent, object count.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "sample_control.h"
#include "vomcom/dispatch_sink.h"
#include "vomcom/property_bag.h"
#include "vomcom/testing/manual_site.h"

namespace {

using vomcom::ComPtr;
using vomcom::Variant;
using vomcom::testing::ManualSite;

ComPtr<IConnectionPoint> EventsOf(IDispatch* d) {
  ComPtr<IConnectionPointContainer> c;
  EXPECT_EQ(d->QueryInterface(IID_IConnectionPointContainer, c.PutVoid()), S_OK);
  ComPtr<IConnectionPoint> p;
  EXPECT_EQ(c->FindConnectionPoint(sample::kEventsIid, p.Put()), S_OK);
  return p;
}

ComPtr<IVcControl> ControlOf(IDispatch* d) {
  ComPtr<IVcControl> c;
  EXPECT_EQ(d->QueryInterface(IID_IVcControl, c.PutVoid()), S_OK);
  return c;
}

struct LogCapture {
  std::vector<std::string> lines;
  LogCapture() {
    VcSetLogHook([](void* self, const char* line) {
      static_cast<LogCapture*>(self)->lines.push_back(line);
    }, this);
  }
  ~LogCapture() { VcSetLogHook(nullptr, nullptr); }
};

TEST(ConnectionPoint, FiresToASnapshotAndSkipsFailingSinks) {
  LogCapture log;
  auto d = sample::Create();
  auto point = EventsOf(d.Get());
  std::vector<std::string> calls;
  DWORD cookieA = 0, cookieB = 0, cookieC = 0, cookieLate = 0;
  ComPtr<vomcom::DispatchSink> late = vomcom::DispatchSink::Create(
      [&](DISPID, const DISPPARAMS&) { calls.push_back("late"); return S_OK; });
  // A advises another sink and unadvises C while the event is fired; B throws.
  auto a = vomcom::DispatchSink::Create([&](DISPID id, const DISPPARAMS& p) {
    calls.push_back("A " + std::to_string(id) + " " + std::to_string(p.rgvarg[1].lVal) + " " +
                    std::to_string(p.rgvarg[0].lVal));
    point->Advise(late.Get(), &cookieLate);
    point->Unadvise(cookieC);
    return S_OK;
  });
  struct Throwing : IDispatch {
    HRESULT QueryInterface(REFIID iid, void** out) override {
      *out = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ? this : nullptr;
      return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                   UINT*) override {
      throw std::runtime_error("sink broke");
    }
  } b;
  auto c = vomcom::DispatchSink::Create([&](DISPID, const DISPPARAMS&) {
    calls.push_back("C");
    return E_FAIL;
  });
  ASSERT_EQ(point->Advise(a.Get(), &cookieA), S_OK);
  ASSERT_EQ(point->Advise(&b, &cookieB), S_OK);
  ASSERT_EQ(point->Advise(c.Get(), &cookieC), S_OK);
  EXPECT_NE(cookieA, cookieB);

  ASSERT_EQ(vomcom::Invoke(d.Get(), 7, DISPATCH_METHOD, {Variant(int32_t{4})}, nullptr), S_OK);
  // The snapshot: C still gets this event, the late sink does not.
  EXPECT_EQ(calls, (std::vector<std::string>{"A 1 4 40", "C"}));
  ASSERT_EQ(log.lines.size(), 2u);
  EXPECT_NE(log.lines[0].find("sink broke"), std::string::npos);
  EXPECT_NE(log.lines[1].find("0x80004005"), std::string::npos);

  calls.clear();
  point->Unadvise(cookieA);
  vomcom::Invoke(d.Get(), 7, DISPATCH_METHOD, {Variant(int32_t{1})}, nullptr);
  EXPECT_EQ(calls, (std::vector<std::string>{"late"}));
  EXPECT_EQ(point->Unadvise(cookieA), CONNECT_E_NOCONNECTION);
  point->Unadvise(cookieB);
  point->Unadvise(cookieLate);
  ComPtr<IConnectionPointContainer> container;
  d->QueryInterface(IID_IConnectionPointContainer, container.PutVoid());
  ComPtr<IConnectionPoint> none;
  EXPECT_EQ(container->FindConnectionPoint(IID_IDispatch, none.Put()), CONNECT_E_NOCONNECTION);
}

TEST(ConnectionPoint, KeepsTheControlAliveWhileASinkReleasesIt) {
  auto d = sample::Create();
  IDispatch* raw = d.Detach();  // the sink's handler drops the host's last reference
  auto point = EventsOf(raw);
  int events = 0;
  auto sink = vomcom::DispatchSink::Create([&](DISPID, const DISPPARAMS&) {
    ++events;
    if (raw) std::exchange(raw, nullptr)->Release();
    return S_OK;
  });
  DWORD cookie = 0;
  ASSERT_EQ(point->Advise(sink.Get(), &cookie), S_OK);
  IDispatch* keep = raw;
  point = nullptr;
  long before = vomcom::Module::Count();
  EXPECT_EQ(vomcom::Invoke(keep, 7, DISPATCH_METHOD, {Variant(int32_t{1})}, nullptr), S_OK);
  EXPECT_EQ(events, 1);
  EXPECT_LT(vomcom::Module::Count(), before);  // gone once the event was over
}

TEST(ControlTimers, RunThroughTheSiteAndDieWithIt) {
  ManualSite site;
  auto d = sample::Create();
  auto* ctl = sample::Of(d.Get());
  EXPECT_EQ(ctl->SetTimer(1, 100), 0u);  // no site yet
  auto control = ControlOf(d.Get());
  ASSERT_EQ(control->SetClientSite(site.Unknown()), S_OK);

  std::vector<UINT_PTR> ticks;
  ctl->onTimer = [&](UINT_PTR id) { ticks.push_back(id); };
  EXPECT_EQ(ctl->SetTimer(1, 100), 1u);
  EXPECT_EQ(ctl->SetTimer(2, 250), 2u);
  EXPECT_TRUE(ticks.empty());
  site.Advance(100);
  site.Pump();
  EXPECT_EQ(ticks, (std::vector<UINT_PTR>{1}));
  EXPECT_TRUE(ctl->KillTimer(2));
  EXPECT_FALSE(ctl->KillTimer(2));

  ASSERT_EQ(control->SetClientSite(nullptr), S_OK);
  EXPECT_EQ(site.ActiveTimerCount(), 0u);
  site.Advance(1000);
  EXPECT_EQ(site.Pump(), 0u);

  // Released with a timer running: the site keeps no tick for it.
  control->SetClientSite(site.Unknown());
  ctl->SetTimer(3, 10);
  ctl->onTimer = nullptr;
  control = nullptr;
  d = nullptr;
  EXPECT_EQ(site.ActiveTimerCount(), 0u);
  EXPECT_EQ(site.RefCount(), 0u);
  site.Advance(100);
  EXPECT_EQ(site.Pump(), 0u);
}

TEST(ControlSite, ShowsMessagesOnlyWithAUserInterface) {
  ManualSite site;
  auto d = sample::Create();
  auto* ctl = sample::Of(d.Get());
  EXPECT_EQ(ctl->ShowMessage("About", "nothing to show"), S_FALSE);
  ControlOf(d.Get())->SetClientSite(site.Unknown());
  EXPECT_EQ(ctl->ShowMessage("About sample", "Version 1.0"), S_OK);
  ASSERT_EQ(site.Messages().size(), 1u);
  EXPECT_EQ(site.Messages()[0].caption, "About sample");
  ControlOf(d.Get())->SetClientSite(nullptr);
}

TEST(ControlPersistence, ResetsLoadsAndSavesThroughOneExchange) {
  auto d = sample::Create();
  auto* ctl = sample::Of(d.Get());
  EXPECT_EQ(ctl->name, "default");  // a new control has its defaults
  EXPECT_EQ(ctl->count, 5);
  ComPtr<IPersistPropertyBag> persist;
  ASSERT_EQ(d->QueryInterface(IID_IPersistPropertyBag, persist.PutVoid()), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  vomcom::Invoke(d.Get(), 1, DISPATCH_PROPERTYPUT, {Variant("상담")}, nullptr);
  EXPECT_EQ(persist->IsDirty(), S_OK);

  auto bag = vomcom::MemoryPropertyBag::Create();
  ASSERT_EQ(persist->Save(bag.Get(), TRUE, TRUE), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  std::string file = ::testing::TempDir() + "/vomcom_bag.txt";
  ASSERT_EQ(bag->SaveTextFile(file), S_OK);

  auto loaded = vomcom::MemoryPropertyBag::Create();
  ASSERT_EQ(loaded->LoadTextFile(file), S_OK);
  loaded->Remove("Count");  // missing: the default
  auto other = sample::Create();
  ComPtr<IPersistPropertyBag> p2;
  other->QueryInterface(IID_IPersistPropertyBag, p2.PutVoid());
  sample::Of(other.Get())->count = 77;
  ASSERT_EQ(p2->Load(loaded.Get(), nullptr), S_OK);
  EXPECT_EQ(sample::Of(other.Get())->name, vomcom::Bstr("상담").ToNarrow());
  EXPECT_EQ(sample::Of(other.Get())->count, 5);
  ASSERT_NE(loaded->Find("_version"), nullptr);
  EXPECT_EQ(loaded->Find("_Version")->lVal, 0x10000);

  // A bag with a value of the wrong kind gives the default, not garbage.
  auto wrong = vomcom::MemoryPropertyBag::Create();
  wrong->Set("Count", Variant("many"));
  ASSERT_EQ(p2->Load(wrong.Get(), nullptr), S_OK);
  EXPECT_EQ(sample::Of(other.Get())->count, 5);
  CLSID clsid{};
  EXPECT_EQ(p2->GetClassID(&clsid), S_OK);
  EXPECT_TRUE(IsEqualCLSID(clsid, sample::kClsid));
}

TEST(ControlSurface, ExtentPagesAndSafety) {
  auto d = sample::Create();
  auto control = ControlOf(d.Get());
  SIZEL asked{10000, 4000};
  ASSERT_EQ(control->SetExtent(&asked), S_OK);
  SIZEL got{};
  control->GetExtent(&got);
  EXPECT_EQ(got.cx, 1000);  // the control's hook had its say
  EXPECT_EQ(got.cy, 4000);
  CLSID pages[2];
  ULONG n = 0;
  ASSERT_EQ(control->GetPages(pages, 2, &n), S_OK);
  ASSERT_EQ(n, 1u);
  EXPECT_TRUE(IsEqualCLSID(pages[0], sample::kPage));
  VcSurface bad{10, 10, 8, nullptr};
  EXPECT_EQ(control->Draw(&bad), E_INVALIDARG);

  ComPtr<IObjectSafety> safety;
  ASSERT_EQ(d->QueryInterface(IID_IObjectSafety, safety.PutVoid()), S_OK);
  DWORD supported = 0, enabled = 0;
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IDispatch, nullptr, &enabled), E_POINTER);
  EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IClassFactory, &supported, &enabled),
            E_NOINTERFACE);
  EXPECT_EQ(supported, 3u);
  EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IDispatch, 3, 3), S_OK);
  EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IDispatch, 1, 0), E_FAIL);
  EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IDispatch, 4, 4), E_FAIL);
}

TEST(ModuleCount, CountsObjectsAndLocks) {
  const long base = vomcom::Module::Count();
  {
    auto d = sample::Create();
    EXPECT_GT(vomcom::Module::Count(), base);
    ITypeInfo* info = nullptr;
    d->GetTypeInfo(0, 0, &info);
    d = nullptr;
    EXPECT_GT(vomcom::Module::Count(), base);  // the type info is the module's too
    info->Release();
  }
  EXPECT_EQ(vomcom::Module::Count(), base);
  auto& factory = vomcom::ClassFactory<sample::Control>::Instance();
  factory.LockServer(TRUE);
  EXPECT_EQ(vomcom::Module::CanUnloadNow(), S_FALSE);
  factory.LockServer(FALSE);
  EXPECT_EQ(vomcom::Module::Count(), base);
  void* out = reinterpret_cast<void*>(1);
  ComPtr<IUnknown> outer(static_cast<IUnknown*>(&factory));
  EXPECT_EQ(factory.CreateInstance(outer.Get(), IID_IUnknown, &out), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(out, nullptr);
}

}  // namespace
