// The per-user registry file: every change written whole (temporary file + rename) under a
// lock file, alone or as one batch.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "paths.h"
#include "registry_file.h"
#include "vomcom/automation.h"

namespace {

using vomcom::detail::RegistryFile;

std::string RegistryPath() {
  return vomcom::detail::UserPath("VOMTEL_REGISTRY", "XDG_CONFIG_HOME", ".config",
                                  "vomtel/registry.reg");
}

HRESULT FromErrno(int e) {
  return e == EACCES || e == EROFS || e == EPERM ? E_ACCESSDENIED : E_FAIL;
}

bool ReadWhole(const std::string& path, std::string* out, HRESULT* hr) {
  out->clear();
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return true;  // no registry yet: empty
    *hr = FromErrno(errno);
    return false;
  }
  char buf[8192];
  for (;;) {
    ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      *hr = FromErrno(errno);
      close(fd);
      return false;
    }
    if (n == 0) break;
    out->append(buf, static_cast<size_t>(n));
  }
  close(fd);
  return true;
}

// A registry file that is marked read-only refuses changes, even for a user who could replace
// it (rename needs only the folder).
HRESULT CheckWritable(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return errno == ENOENT ? S_OK : FromErrno(errno);
  if (!S_ISREG(st.st_mode)) return E_ACCESSDENIED;
  if (!(st.st_mode & S_IWUSR) || access(path.c_str(), W_OK) != 0) return E_ACCESSDENIED;
  return S_OK;
}

HRESULT WriteWhole(const std::string& path, const std::string& text) {
  std::string temp = path + ".tmp." + std::to_string(getpid());
  int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return FromErrno(errno);
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      HRESULT hr = FromErrno(errno);
      close(fd);
      unlink(temp.c_str());
      return hr;
    }
    done += static_cast<size_t>(n);
  }
  if (fsync(fd) != 0 || close(fd) != 0) {
    unlink(temp.c_str());
    return E_FAIL;
  }
  if (rename(temp.c_str(), path.c_str()) != 0) {
    HRESULT hr = FromErrno(errno);
    unlink(temp.c_str());
    return hr;
  }
  return S_OK;
}

// One open change: the file locked and its contents in memory.
struct Session {
  std::string path;
  int lockFd = -1;
  RegistryFile data;
  bool changed = false;

  HRESULT Open() {
    path = RegistryPath();
    if (!vomcom::detail::MakeParentDirs(path)) return E_ACCESSDENIED;
    std::string lockPath = path + ".lock";
    lockFd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (lockFd < 0) return FromErrno(errno);
    while (flock(lockFd, LOCK_EX) != 0) {
      if (errno != EINTR) {
        Close();
        return E_FAIL;
      }
    }
    HRESULT hr = CheckWritable(path);
    std::string text;
    if (SUCCEEDED(hr)) ReadWhole(path, &text, &hr);  // sets hr when it fails
    if (FAILED(hr)) {
      Close();
      return hr;
    }
    data.Parse(text);
    return S_OK;
  }
  HRESULT Commit() {
    HRESULT hr = changed ? WriteWhole(path, data.Format()) : S_OK;
    Close();
    return hr;
  }
  void Close() {
    if (lockFd >= 0) {
      flock(lockFd, LOCK_UN);
      close(lockFd);
      lockFd = -1;
    }
    changed = false;
  }
};

// At most one writer in the process at a time; a batch holds it from Begin to Commit/Abort.
std::mutex g_writer;
std::mutex g_state;
std::optional<Session> g_batch;
std::thread::id g_batchThread;

bool InBatchOnThisThread() {
  std::lock_guard<std::mutex> lock(g_state);
  return g_batch.has_value() && g_batchThread == std::this_thread::get_id();
}

// Runs a change inside the thread's batch, or alone in a session of its own.
template <class F>
HRESULT Change(F&& f) {
  if (InBatchOnThisThread()) {
    HRESULT hr = f(g_batch->data);
    if (SUCCEEDED(hr)) g_batch->changed = true;
    return hr;
  }
  std::lock_guard<std::mutex> writer(g_writer);
  Session s;
  HRESULT hr = s.Open();
  if (FAILED(hr)) return hr;
  hr = f(s.data);
  if (FAILED(hr)) {
    s.Close();
    return hr;
  }
  s.changed = true;
  return s.Commit();
}

// Reads see the thread's batch, else the file as it stands.
template <class F>
HRESULT Look(F&& f) {
  if (InBatchOnThisThread()) return f(g_batch->data);
  std::string text;
  HRESULT hr = S_OK;
  if (!ReadWhole(RegistryPath(), &text, &hr)) return hr;
  RegistryFile data;
  data.Parse(text);
  return f(data);
}

}  // namespace

extern "C" HRESULT VcRegSetValue(const char* key, const char* name, const char* value) {
  if (!key || !value) return E_INVALIDARG;
  std::string k = vomcom::detail::NormalizeKey(key);
  std::string n = name ? name : "";
  if (k.empty() || std::strpbrk(value, "\r\n") || n.find_first_of("\r\n") != std::string::npos)
    return E_INVALIDARG;
  return Change([&](RegistryFile& data) {
    RegistryFile::SetValue(data.Ensure(k), n, value);
    return S_OK;
  });
}

extern "C" HRESULT VcRegGetValue(const char* key, const char* name, char* out, size_t outSize) {
  if (!key) return E_INVALIDARG;
  if (out && outSize > 0) out[0] = '\0';
  std::string k = vomcom::detail::NormalizeKey(key);
  if (k.empty()) return E_INVALIDARG;
  return Look([&](RegistryFile& data) -> HRESULT {
    RegistryFile::Key* kk = data.Find(k);
    if (!kk) return VC_E_NOTFOUND;
    const RegistryFile::Value* v = RegistryFile::FindValue(*kk, name ? name : "");
    if (!v) return VC_E_NOTFOUND;
    if (!out || outSize == 0) return v->data.empty() ? S_OK : VC_E_MOREDATA;
    size_t n = v->data.size() < outSize - 1 ? v->data.size() : outSize - 1;
    std::memcpy(out, v->data.data(), n);
    out[n] = '\0';
    return n == v->data.size() ? S_OK : VC_E_MOREDATA;
  });
}

extern "C" HRESULT VcRegKeyExists(const char* key) {
  if (!key) return E_INVALIDARG;
  std::string k = vomcom::detail::NormalizeKey(key);
  if (k.empty()) return E_INVALIDARG;
  return Look([&](RegistryFile& data) { return data.Find(k) ? S_OK : S_FALSE; });
}

extern "C" HRESULT VcRegEnumKey(const char* key, UINT index, char* out, size_t outSize) {
  if (!key || !out || outSize == 0) return E_INVALIDARG;
  out[0] = '\0';
  std::string k = vomcom::detail::NormalizeKey(key);
  if (k.empty()) return E_INVALIDARG;
  return Look([&](RegistryFile& data) -> HRESULT {
    UINT seen = 0;
    for (const RegistryFile::Key& c : data.Keys()) {
      if (c.path.size() <= k.size() + 1 || c.path[k.size()] != '\\' ||
          !vomcom::detail::EqualsNoCase(std::string_view(c.path).substr(0, k.size()), k) ||
          c.path.find('\\', k.size() + 1) != std::string::npos)
        continue;
      if (seen++ != index) continue;
      std::string name = c.path.substr(k.size() + 1);
      size_t n = name.size() < outSize - 1 ? name.size() : outSize - 1;
      std::memcpy(out, name.data(), n);
      out[n] = '\0';
      return n == name.size() ? S_OK : VC_E_MOREDATA;
    }
    return S_FALSE;
  });
}

extern "C" HRESULT VcRegDeleteTree(const char* key) {
  if (!key) return E_INVALIDARG;
  std::string k = vomcom::detail::NormalizeKey(key);
  if (k.empty()) return E_INVALIDARG;
  bool existed = false;
  HRESULT hr = Change([&](RegistryFile& data) {
    existed = data.DeleteTree(k);
    return S_OK;
  });
  return SUCCEEDED(hr) && !existed ? S_FALSE : hr;
}

extern "C" HRESULT VcRegBegin(void) {
  if (InBatchOnThisThread()) return E_UNEXPECTED;
  g_writer.lock();
  Session s;
  HRESULT hr = s.Open();
  if (FAILED(hr)) {
    g_writer.unlock();
    return hr;
  }
  std::lock_guard<std::mutex> lock(g_state);
  g_batch.emplace(std::move(s));
  g_batchThread = std::this_thread::get_id();
  return S_OK;
}

static HRESULT EndBatch(bool commit) {
  std::optional<Session> s;
  {
    std::lock_guard<std::mutex> lock(g_state);
    if (!g_batch || g_batchThread != std::this_thread::get_id()) return E_UNEXPECTED;
    s.swap(g_batch);
    g_batchThread = {};
  }
  HRESULT hr = S_OK;
  if (commit)
    hr = s->Commit();
  else
    s->Close();
  g_writer.unlock();
  return hr;
}

extern "C" HRESULT VcRegCommit(void) { return EndBatch(true); }
extern "C" HRESULT VcRegAbort(void) { return EndBatch(false); }
