/* A host in C11 with only the runtime's header: registers the sample module, creates it by
 * ProgID, calls it through the vtables and reads its type-info view. Exit status 0 = passed. */
#define _POSIX_C_SOURCE 200809L
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include "vomcom/automation.h"

static int failures = 0;
#define CHECK(cond)                                               \
  do {                                                            \
    if (!(cond)) {                                                \
      fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
      ++failures;                                                 \
    }                                                             \
  } while (0)

int main(int argc, char** argv) {
  char reg[256];
  void* module;
  VcDllRegisterServerFn registerServer;
  CLSID clsid;
  IDispatch* d = NULL;
  IUnknown* unk = NULL;
  OLECHAR name[] = {'S', 'U', 'B', 'T', 'R', 'A', 'C', 'T', 0};
  LPOLESTR names[1];
  DISPID id = 0;
  VARIANT args[2], result;
  DISPPARAMS dp;
  ITypeInfo* ti = NULL;
  IVcTypeInfo* info = NULL;
  UINT count = 0;

  if (argc < 2) return 2;
  snprintf(reg, sizeof reg, "/tmp/vomcom_c_host_%d.reg", (int)getpid());
  setenv("VOMTEL_REGISTRY", reg, 1);

  module = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  CHECK(module != NULL);
  if (!module) return 1;
  *(void**)(&registerServer) = dlsym(module, "DllRegisterServer");
  CHECK(registerServer != NULL && registerServer() == S_OK);

  CHECK(VcCLSIDFromProgIDA("Vomcom.Sample.1", &clsid) == S_OK);
  CHECK(CoCreateInstance(&clsid, NULL, CLSCTX_INPROC_SERVER, &IID_IDispatch, (void**)&d) == S_OK);
  if (!d) return 1;
  CHECK(d->lpVtbl->QueryInterface(d, &IID_IUnknown, (void**)&unk) == S_OK);
  if (unk) unk->lpVtbl->Release(unk);

  names[0] = name;
  CHECK(d->lpVtbl->GetIDsOfNames(d, &IID_NULL, names, 1, 0, &id) == S_OK);
  CHECK(id == 4);
  VariantInit(&args[0]);
  VariantInit(&args[1]);
  VariantInit(&result);
  args[0].vt = VT_I4; /* the last argument comes first */
  args[0].lVal = 5;
  args[1].vt = VT_I4;
  args[1].lVal = 12;
  dp.rgvarg = args;
  dp.rgdispidNamedArgs = NULL;
  dp.cArgs = 2;
  dp.cNamedArgs = 0;
  CHECK(d->lpVtbl->Invoke(d, id, &IID_NULL, 0, DISPATCH_METHOD, &dp, &result, NULL, NULL) == S_OK);
  CHECK(result.vt == VT_I4 && result.lVal == 7);

  CHECK(d->lpVtbl->GetTypeInfo(d, 0, 0, &ti) == S_OK);
  if (ti) {
    CHECK(ti->lpVtbl->QueryInterface(ti, &IID_IVcTypeInfo, (void**)&info) == S_OK);
    ti->lpVtbl->Release(ti);
  }
  if (info) {
    UINT i;
    info->lpVtbl->GetMemberCount(info, &count);
    CHECK(count == 7);
    for (i = 0; i < count; ++i) {
      VcMemberInfo m;
      if (info->lpVtbl->GetMember(info, i, &m) == S_OK) printf("%d %s\n", m.id, m.name);
    }
    info->lpVtbl->Release(info);
  }
  d->lpVtbl->Release(d);
  remove(reg);
  {
    char lock[300];
    snprintf(lock, sizeof lock, "%s.lock", reg);
    remove(lock);
  }
  return failures == 0 ? 0 : 1;
}
