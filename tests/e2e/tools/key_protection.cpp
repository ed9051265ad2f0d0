#include "key_protection.h"

#include <sddl.h>

#include "registry_path_w.h"

namespace {

// Local memory from the SDDL conversion, freed on every way out.
class LocalBlock {
 public:
  LocalBlock() = default;
  ~LocalBlock() {
    if (block_ != nullptr) LocalFree(block_);
  }
  LocalBlock(const LocalBlock&) = delete;
  LocalBlock& operator=(const LocalBlock&) = delete;
  PSECURITY_DESCRIPTOR* Out() { return &block_; }
  PSECURITY_DESCRIPTOR Get() const { return block_; }

 private:
  PSECURITY_DESCRIPTOR block_ = nullptr;
};

}  // namespace

LONG SetKeyDacl(HKEY root, const std::wstring& subkey, const std::wstring& sddl) {
  LocalBlock descriptor;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                            descriptor.Out(), nullptr))
    return static_cast<LONG>(GetLastError());
  KeyHandle key;
  const LONG status = RegOpenKeyExW(root, subkey.c_str(), 0, READ_CONTROL | WRITE_DAC, key.Out());
  if (status != ERROR_SUCCESS) return status;
  return RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, descriptor.Get());
}
