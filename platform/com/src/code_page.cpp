// The narrow code page: CP949 unless VcSetCodePage or $VOMTEL_CODEPAGE names another.
#include "code_page.h"

#include <errno.h>
#include <iconv.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "vomcom/automation.h"
#include "vomcom/bstr.h"

namespace vomcom::detail {
namespace {

constexpr const char* kDefaultCodePage = "CP949";
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

std::mutex g_mu;
std::string g_codePage;            // empty until first use
std::atomic<unsigned> g_generation{1};

bool Usable(const char* cp) {
  iconv_t a = iconv_open(cp, "UTF-16LE");
  if (a == kNoConverter) return false;
  iconv_close(a);
  iconv_t b = iconv_open("UTF-16LE", cp);
  if (b == kNoConverter) return false;
  iconv_close(b);
  return true;
}

std::string CurrentCodePage() {
  std::lock_guard<std::mutex> lock(g_mu);
  if (g_codePage.empty()) {
    const char* env = std::getenv("VOMTEL_CODEPAGE");
    g_codePage = env && *env && Usable(env) ? env : kDefaultCodePage;
  }
  return g_codePage;
}

// One pair of converters per thread (an iconv descriptor is not shared between threads),
// reopened when the setting changes.
struct Converters {
  unsigned generation = 0;
  iconv_t toNarrow = kNoConverter;
  iconv_t fromNarrow = kNoConverter;
  ~Converters() { Close(); }
  void Close() {
    if (toNarrow != kNoConverter) iconv_close(toNarrow);
    if (fromNarrow != kNoConverter) iconv_close(fromNarrow);
    toNarrow = fromNarrow = kNoConverter;
  }
};

Converters& ThreadConverters() {
  thread_local Converters c;
  unsigned gen = g_generation.load(std::memory_order_acquire);
  if (c.generation != gen) {
    c.Close();
    std::string cp = CurrentCodePage();
    c.toNarrow = iconv_open(cp.c_str(), "UTF-16LE");
    c.fromNarrow = iconv_open("UTF-16LE", cp.c_str());
    c.generation = gen;
  }
  return c;
}

// One character (one or two UTF-16 units) into out; false when the code page lacks it.
bool ConvertOne(iconv_t cd, const char16_t* units, size_t count, std::string* out) {
  if (cd == kNoConverter) return false;
  char in[4];
  for (size_t i = 0; i < count; ++i) {
    in[2 * i] = static_cast<char>(units[i] & 0xFF);
    in[2 * i + 1] = static_cast<char>(units[i] >> 8);
  }
  char buf[16];
  char* inp = in;
  size_t inLeft = count * 2;
  char* outp = buf;
  size_t outLeft = sizeof buf;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
  if (r == static_cast<size_t>(-1) || inLeft != 0) return false;
  // Irreversible conversions (a transliteration) count as unmappable.
  if (r > 0) return false;
  char* flush = outp;
  iconv(cd, nullptr, nullptr, &flush, &outLeft);
  out->assign(buf, static_cast<size_t>(flush - buf));
  return true;
}

}  // namespace

std::string NarrowFromUtf16(std::u16string_view text, size_t limit) {
  Converters& c = ThreadConverters();
  std::string out;
  std::string one;
  for (size_t i = 0; i < text.size();) {
    char16_t u = text[i];
    size_t n = 1;
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF)
      n = 2;
    if (u < 0x80) {
      one.assign(1, static_cast<char>(u));
    } else if ((u >= 0xD800 && u <= 0xDFFF && n == 1) ||
               !ConvertOne(c.toNarrow, text.data() + i, n, &one) || one.empty()) {
      one.assign(1, '?');
    }
    if (out.size() + one.size() > limit) break;
    out += one;
    i += n;
  }
  return out;
}

std::u16string Utf16FromNarrow(std::string_view narrow) {
  Converters& c = ThreadConverters();
  std::u16string out;
  if (c.fromNarrow == kNoConverter) {
    for (char ch : narrow)
      out.push_back(static_cast<unsigned char>(ch) < 0x80 ? static_cast<char16_t>(ch) : u'?');
    return out;
  }
  iconv(c.fromNarrow, nullptr, nullptr, nullptr, nullptr);
  char* inp = const_cast<char*>(narrow.data());
  size_t inLeft = narrow.size();
  char buf[512];
  while (inLeft > 0) {
    char* outp = buf;
    size_t outLeft = sizeof buf;
    size_t r = iconv(c.fromNarrow, &inp, &inLeft, &outp, &outLeft);
    for (char* p = buf; p + 1 < outp; p += 2)
      out.push_back(static_cast<char16_t>(static_cast<unsigned char>(p[0]) |
                                          (static_cast<unsigned char>(p[1]) << 8)));
    if (r != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ: a byte that starts no character; EINVAL: a character cut at the end.
    out.push_back(u'?');
    if (errno == EINVAL) break;
    ++inp;
    --inLeft;
    iconv(c.fromNarrow, nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

}  // namespace vomcom::detail

extern "C" HRESULT VcSetCodePage(const char* codePage) {
  using namespace vomcom::detail;
  if (!codePage || !*codePage || !Usable(codePage)) return E_INVALIDARG;
  {
    std::lock_guard<std::mutex> lock(g_mu);
    g_codePage = codePage;
  }
  g_generation.fetch_add(1, std::memory_order_acq_rel);
  return S_OK;
}

extern "C" size_t VcBstrToNarrow(BSTR text, char* out, size_t outSize) {
  if (!out || outSize == 0) return 0;
  std::string s = vomcom::detail::NarrowFromUtf16(
      std::u16string_view(text ? text : u"", SysStringLen(text)), outSize - 1);
  std::memcpy(out, s.data(), s.size());
  out[s.size()] = '\0';
  return s.size();
}

extern "C" BSTR VcBstrFromNarrow(const char* text, size_t maxBytes) {
  if (!text) return SysAllocStringLen(nullptr, 0);
  size_t n = strnlen(text, maxBytes);
  std::u16string u = vomcom::detail::Utf16FromNarrow(std::string_view(text, n));
  return SysAllocStringLen(u.data(), static_cast<UINT>(u.size()));
}
