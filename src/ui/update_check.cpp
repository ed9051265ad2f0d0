#include "ui/update_check.h"

#include <process.h>
#include <winhttp.h>

#include <utility>

#include "foundation/ansi_text.h"

namespace kelvane {

namespace {

struct InternetHandleTraits {
  using Handle = HINTERNET;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { WinHttpCloseHandle(handle); }
};
using ScopedInternetHandle = ScopedHandle<InternetHandleTraits>;

// Each step of an attempt gives up after this long, so that a stop request
// never waits on a silent server for long.
constexpr int kStepTimeoutMs = 5000;

struct VersionFile {
  bool received = false;
  bool oversized = false;
  std::string body;  // at most kMaxVersionFileBytes
};

VersionFile FetchVersionFile(const UpdateEndpoint& endpoint) {
  VersionFile file;
  ScopedInternetHandle session(WinHttpOpen(L"Kelvane", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                           WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session.IsValid()) return file;
  WinHttpSetTimeouts(session.Get(), kStepTimeoutMs, kStepTimeoutMs, kStepTimeoutMs, kStepTimeoutMs);
  if (endpoint.port <= 0 || endpoint.port > 65535) return file;
  ScopedInternetHandle connection(WinHttpConnect(session.Get(), AnsiToWide(endpoint.host).c_str(),
                                                 static_cast<INTERNET_PORT>(endpoint.port), 0));
  if (!connection.IsValid()) return file;
  // Secure, never from a cache; no certificate error is ignored.
  ScopedInternetHandle request(WinHttpOpenRequest(connection.Get(), L"GET",
                                                  AnsiToWide(endpoint.versionPath).c_str(), nullptr,
                                                  WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                  WINHTTP_FLAG_SECURE | WINHTTP_FLAG_REFRESH));
  if (!request.IsValid()) return file;
  // The file lies at one fixed address: a redirect would let the answer
  // come from anywhere, so none is followed.
  DWORD policy = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
  WinHttpSetOption(request.Get(), WINHTTP_OPTION_REDIRECT_POLICY, &policy, sizeof policy);
  if (!WinHttpSendRequest(request.Get(), L"Cache-Control: no-cache\r\n", static_cast<DWORD>(-1L),
                          WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
      !WinHttpReceiveResponse(request.Get(), nullptr))
    return file;
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!WinHttpQueryHeaders(request.Get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX) ||
      status != 200)
    return file;

  // One byte more than a version file may have tells a larger one.
  char buffer[kMaxVersionFileBytes + 1];
  std::size_t total = 0;
  while (total < sizeof buffer) {
    DWORD read = 0;
    if (!WinHttpReadData(request.Get(), buffer + total, static_cast<DWORD>(sizeof buffer - total),
                         &read))
      return file;
    if (read == 0) break;
    total += read;
  }
  file.received = true;
  file.oversized = total > kMaxVersionFileBytes;
  file.body.assign(buffer, file.oversized ? kMaxVersionFileBytes : total);
  return file;
}

}  // namespace

UpdateFinding CheckForUpdate(const UpdateEndpoint& endpoint, const std::string& ownVersion) {
  const VersionFile file = FetchVersionFile(endpoint);
  if (!file.received) return UpdateFinding{};
  return JudgeVersionFile(file.body, file.oversized, ownVersion);
}

UpdateCheck::UpdateCheck(UpdateEndpoint endpoint, std::string ownVersion, UpdateCheckPlan plan)
    : endpoint_(std::move(endpoint)),
      ownVersion_(std::move(ownVersion)),
      plan_(plan),
      stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

UpdateCheck::~UpdateCheck() { Stop(); }

bool UpdateCheck::Start(HWND notify, UINT message) {
  if (thread_.IsValid() || !stop_.IsValid()) return false;
  notify_ = notify;
  message_ = message;
  ResetEvent(stop_.Get());
  const uintptr_t thread = _beginthreadex(nullptr, 0, ThreadEntry, this, 0, nullptr);
  if (thread == 0) return false;
  thread_.Reset(reinterpret_cast<HANDLE>(thread));
  return true;
}

void UpdateCheck::RequestStop() {
  if (thread_.IsValid()) SetEvent(stop_.Get());
}

bool UpdateCheck::Stop(DWORD timeoutMs) {
  RequestStop();
  return Join(timeoutMs);
}

bool UpdateCheck::Join(DWORD timeoutMs) {
  if (!thread_.IsValid()) return true;
  if (WaitForSingleObject(thread_.Get(), timeoutMs) != WAIT_OBJECT_0) return false;
  thread_.Reset();
  return true;
}

std::string UpdateCheck::offeredVersion() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return offered_;
}

unsigned __stdcall UpdateCheck::ThreadEntry(void* self) {
  try {
    static_cast<UpdateCheck*>(self)->Run();
  } catch (...) {
    // Out of memory at worst: the check is given up, the program goes on.
  }
  return 0;
}

void UpdateCheck::Run() {
  for (int attempt = 0; attempt < plan_.attempts; ++attempt) {
    if (WaitForSingleObject(stop_.Get(), 0) == WAIT_OBJECT_0) return;
    const UpdateFinding finding = CheckForUpdate(endpoint_, ownVersion_);
    if (finding.verdict == UpdateVerdict::kNewer) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        offered_ = finding.offeredVersion;
      }
      PostMessageA(notify_, message_, 0, 0);
      return;
    }
    if (finding.verdict == UpdateVerdict::kNotNewer) return;
    if (WaitForSingleObject(stop_.Get(), plan_.retryDelayMs) == WAIT_OBJECT_0) return;
  }
}

}  // namespace kelvane
