#include "registry_path_w.h"

namespace {

struct RootName {
  const wchar_t* name;
  HKEY root;
};

const RootName kRoots[] = {
    {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},     {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},   {L"HKEY_USERS", HKEY_USERS},
    {L"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
};

}  // namespace

bool SplitPathW(const std::wstring& path, HKEY& root, std::wstring& subkey) {
  const size_t slash = path.find(L'\\');
  const std::wstring rootName = path.substr(0, slash);
  for (const RootName& entry : kRoots) {
    if (_wcsicmp(rootName.c_str(), entry.name) == 0) {
      root = entry.root;
      subkey = slash == std::wstring::npos ? L"" : path.substr(slash + 1);
      while (!subkey.empty() && subkey.back() == L'\\') subkey.pop_back();
      return true;
    }
  }
  return false;
}
