// The update check against the local https server of update_check.sh: which
// answers make an offer, which count as a failed attempt, and the thread's
// message, retries and stop.
#include <windows.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ui/update_check.h"

using namespace kelvane;

namespace {

constexpr UINT kOfferedMessage = WM_APP + 7;

int PortFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::atoi(value) : 0;
}

UpdateEndpoint LocalEndpoint(const char* path,
                             const char* portVariable = "KELVANE_TEST_HTTPS_PORT") {
  return UpdateEndpoint{"localhost", PortFromEnvironment(portVariable), path, "/download.htm"};
}

std::vector<BYTE> ReadWholeFile(const char* path) {
  std::vector<BYTE> bytes;
  const HANDLE file =
      CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  bytes.resize(GetFileSize(file, nullptr));
  DWORD read = 0;
  if (bytes.empty() ||
      !ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
    read = 0;
  bytes.resize(read);
  CloseHandle(file);
  return bytes;
}

// The test server's certificate in the prefix's LocalMachine root store, the
// only place Wine's certificate checks trust; removed again at the end. The
// store keeps changes in memory until it is closed, and the checks read it
// afresh, so it is open only while it changes.
class TrustedTestRoot : public ::testing::Environment {
 public:
  void SetUp() override {
    const char* path = std::getenv("KELVANE_TEST_ROOT_CERT");
    ASSERT_NE(path, nullptr) << "run through update_check.sh";
    const std::vector<BYTE> der = ReadWholeFile(path);
    ASSERT_FALSE(der.empty()) << path;
    certificate_ =
        CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()));
    ASSERT_NE(certificate_, nullptr);
    const HCERTSTORE store = OpenRoot();
    ASSERT_NE(store, nullptr);
    EXPECT_TRUE(CertAddCertificateContextToStore(store, certificate_,
                                                 CERT_STORE_ADD_REPLACE_EXISTING, nullptr));
    CertCloseStore(store, 0);
  }
  void TearDown() override {
    if (certificate_ == nullptr) return;
    if (const HCERTSTORE store = OpenRoot()) {
      if (PCCERT_CONTEXT added = CertFindCertificateInStore(
              store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, certificate_, nullptr))
        CertDeleteCertificateFromStore(added);  // frees `added` too
      CertCloseStore(store, 0);
    }
    CertFreeCertificateContext(certificate_);
  }

 private:
  static HCERTSTORE OpenRoot() {
    return CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, "Root");
  }
  PCCERT_CONTEXT certificate_ = nullptr;
};

const auto* const kTrustedRoot = ::testing::AddGlobalTestEnvironment(new TrustedTestRoot);

// A message-only window that records whether the offer arrived.
class OfferReceiver {
 public:
  OfferReceiver() {
    window_ =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  }
  ~OfferReceiver() { DestroyWindow(window_); }
  HWND window() const { return window_; }
  // Whether the message came, once the check's thread has ended.
  bool Received(UpdateCheck& check) {
    EXPECT_TRUE(check.Join(60000)) << "the thread did not end";
    MSG message;
    return PeekMessageA(&message, window_, kOfferedMessage, kOfferedMessage, PM_REMOVE) != FALSE;
  }

 private:
  HWND window_;
};

}  // namespace

TEST(CheckForUpdate, OffersOnlyAHigherNumberFromATrustedServer) {
  const struct {
    const char* path;
    const char* portVariable;
    UpdateVerdict verdict;
    const char* offered;
  } kCases[] = {
      {"/newer.txt", "KELVANE_TEST_HTTPS_PORT", UpdateVerdict::kNewer, "3.1"},
      {"/noisy.txt", "KELVANE_TEST_HTTPS_PORT", UpdateVerdict::kNewer, "4.2"},
      {"/same.txt", "KELVANE_TEST_HTTPS_PORT", UpdateVerdict::kNotNewer, ""},
      {"/older.txt", "KELVANE_TEST_HTTPS_PORT", UpdateVerdict::kNotNewer, ""},
      {"/garbage.txt", "KELVANE_TEST_HTTPS_PORT", UpdateVerdict::kNotNewer, ""},
      {"/oversized.txt", "KELVANE_TEST_HTTPS_PORT", UpdateVerdict::kNotNewer, ""},
      {"/missing.txt", "KELVANE_TEST_HTTPS_PORT", UpdateVerdict::kFailed, ""},
      {"/redirect.txt", "KELVANE_TEST_HTTPS_PORT", UpdateVerdict::kFailed, ""},
      {"/newer.txt", "KELVANE_TEST_UNTRUSTED_PORT", UpdateVerdict::kFailed, ""},
      {"/newer.txt", "KELVANE_TEST_DEAD_PORT", UpdateVerdict::kFailed, ""},
  };
  for (const auto& c : kCases) {
    const UpdateFinding finding = CheckForUpdate(LocalEndpoint(c.path, c.portVariable), "3.0");
    EXPECT_EQ(finding.verdict, c.verdict) << c.path << " on " << c.portVariable;
    EXPECT_EQ(finding.offeredVersion, c.offered) << c.path << " on " << c.portVariable;
  }
}

TEST(UpdateCheck, PostsTheOfferOnceFailedAttemptsAreRetried) {
  // The server fails the first `fail` requests of each query.
  const struct {
    const char* path;
    int attempts;
    bool offered;
  } kCases[] = {
      {"/flaky.txt?fail=2&run=a", 3, true},
      {"/flaky.txt?fail=2&run=b", 2, false},
      {"/same.txt", 5, false},
  };
  for (const auto& c : kCases) {
    OfferReceiver receiver;
    UpdateCheck check(LocalEndpoint(c.path), "3.0", UpdateCheckPlan{c.attempts, 10});
    ASSERT_TRUE(check.Start(receiver.window(), kOfferedMessage));
    EXPECT_EQ(receiver.Received(check), c.offered) << c.path;
    EXPECT_EQ(check.offeredVersion(), c.offered ? "3.1" : "") << c.path;
  }
}

TEST(UpdateCheck, StopWakesTheThreadFromItsWaitBetweenAttempts) {
  OfferReceiver receiver;
  UpdateCheck check(LocalEndpoint("/newer.txt", "KELVANE_TEST_DEAD_PORT"), "3.0",
                    UpdateCheckPlan{10, 120000});
  ASSERT_TRUE(check.Start(receiver.window(), kOfferedMessage));
  EXPECT_FALSE(check.Start(receiver.window(), kOfferedMessage)) << "one thread at a time";
  EXPECT_TRUE(check.Stop(60000)) << "a stop must not wait out the two minutes";
  EXPECT_FALSE(receiver.Received(check));
}
