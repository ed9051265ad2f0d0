// The end-to-end scripts' registry tool, run under wine; it prints ASCII only.
//   dump OUT ROOT... [--skip PATH]...  canonical dump into OUT: "[key path]", then per value
//       @ or "name", "=", type number, ":", bytes in hex; names escaped (\\ \" \xNN \uXXXX),
//       keys and values sorted, links not followed, "!unreadable" under a key not fully read
//   set KEY NAME TYPE HEX [SDDL]  one value of exactly these bytes ("" NAME: the default),
//                                 then the key's DACL replaced by SDDL's
//   info                          the standard-time name in effect, the device of drive C:
//   link KEY TARGET [volatile]    KEY made anew as a symbolic link to TARGET, a kernel
//                                 path such as \Registry\Machine\Software\X
//   run EXE TAIL SECONDS [CODE]   runs "EXE" TAIL as the exact command line; fails on a
//                                 timeout or an exit code other than CODE (default 0)
// KEY, NAME, TARGET and TAIL take %uXXXX escapes, as wine would pass other characters through
// the Unix locale and its own quoting. Exits 0, 1 on failure, 2 on bad usage.
#include <windows.h>

#include <sddl.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using std::wstring;
using Args = std::vector<wstring>;
const wchar_t kHex[] = L"0123456789abcdefABCDEF";

struct Key {  // an open key, closed on every way out
  HKEY h = nullptr;
  ~Key() {
    if (h != nullptr) RegCloseKey(h);
  }
};

int Fail(const char* what, unsigned long status) {
  std::fprintf(stderr, "e2e_regtool: %s failed (%lu)\n", what, status);
  return 1;
}

bool IsHex(const wstring& text) { return wcsspn(text.c_str(), kHex) == text.size(); }

std::string Escape(const wstring& text, bool keepBackslash) {
  std::string out;
  char code[8];
  for (wchar_t c : text) {
    if ((c == L'\\' && !keepBackslash) || c == L'"') out += '\\';
    std::snprintf(code, sizeof code,
                  c < 0x20 || c > 0x7E ? c < 0x100 ? "\\x%02x" : "\\u%04x" : "%c", unsigned(c));
    out += code;
  }
  return out;
}

wstring Unescape(const wstring& text) {
  wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, L"%u") == 0 && i + 6 <= text.size() && IsHex(text.substr(i + 2, 4))) {
      out += wchar_t(std::wcstoul(text.substr(i + 2, 4).c_str(), nullptr, 16));
      i += 5;
    } else {
      out += text[i];
    }
  }
  return out;
}

// "HKEY_LOCAL_MACHINE\Software\X" into its root (nullptr when unknown) and subkey.
HKEY Split(const wstring& path, wstring& subkey) {
  static const std::pair<const wchar_t*, HKEY> kRoots[] = {
      {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
      {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
      {L"HKEY_USERS", HKEY_USERS}};
  const size_t slash = path.find(L'\\');
  subkey = slash == wstring::npos ? L"" : path.substr(slash + 1);
  for (const auto& root : kRoots)
    if (_wcsicmp(path.substr(0, slash).c_str(), root.first) == 0) return root.second;
  return nullptr;
}

// Case-insensitive order, then exact: a dump does not depend on the enumeration order.
bool NameLess(const wstring& a, const wstring& b) {
  const int order = CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE);
  return order != CSTR_EQUAL ? order == CSTR_LESS_THAN : a < b;
}

void Walk(std::FILE* out, const Args& skip, HKEY root, const wstring& subkey, const wstring& path) {
  for (const wstring& s : skip)
    if (_wcsnicmp(path.c_str(), s.c_str(), s.size()) == 0 && (path + L"\\")[s.size()] == L'\\')
      return;
  Key key;
  DWORD count = 0, nameMax = 0, dataMax = 0;
  bool whole = RegOpenKeyExW(root, subkey.c_str(), REG_OPTION_OPEN_LINK, KEY_READ, &key.h) == 0 &&
               RegQueryInfoKeyW(key.h, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                                &nameMax, &dataMax, nullptr, nullptr) == 0;
  std::vector<std::pair<wstring, std::string>> values;
  wstring name(nameMax + 2, L'\0');
  std::vector<unsigned char> data(dataMax + 2);
  for (DWORD i = 0; whole && i < count; ++i) {
    DWORD length = DWORD(name.size()), size = DWORD(data.size()), type = 0;
    whole = RegEnumValueW(key.h, i, &name[0], &length, nullptr, &type, data.data(), &size) == 0;
    if (!whole) break;
    const wstring n(name.c_str(), length);
    std::string line = (n.empty() ? "@" : "\"" + Escape(n, false) + "\"") + "=";
    line += std::to_string(type) + ":";
    for (DWORD b = 0; b < size; ++b) line += {char(kHex[data[b] >> 4]), char(kHex[data[b] & 15])};
    values.emplace_back(n, line);
  }
  Args children;
  wchar_t child[256];
  LONG status = 0;
  for (DWORD i = 0, length = 256; key.h != nullptr && status == 0; ++i, length = 256) {
    status = RegEnumKeyExW(key.h, i, child, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == 0) children.emplace_back(child, length);
  }
  std::sort(values.begin(), values.end(),
            [](auto& a, auto& b) { return NameLess(a.first, b.first); });
  std::sort(children.begin(), children.end(), NameLess);
  whole = whole && status == ERROR_NO_MORE_ITEMS;
  std::fprintf(out, "[%s]\n%s", Escape(path, true).c_str(), whole ? "" : "!unreadable\n");
  for (const auto& value : values) std::fprintf(out, "%s\n", value.second.c_str());
  for (const wstring& c : children)
    Walk(out, skip, root, subkey.empty() ? c : subkey + L"\\" + c, path + L"\\" + c);
}

int Dump(const Args& args) {
  Args roots, skip;
  wstring subkey;
  for (size_t i = 1; i < args.size(); ++i) {
    const bool skipped = args[i] == L"--skip" && i + 1 < args.size();
    (skipped ? skip : roots).push_back(args[i + skipped]);
    i += skipped;
    if (!skipped && Split(roots.back(), subkey) == nullptr) return 2;
  }
  std::FILE* out = args.empty() ? nullptr : _wfopen(args[0].c_str(), L"wb");
  if (out == nullptr) return Fail("opening the dump file", 0);
  for (const wstring& root : roots) Walk(out, skip, Split(root, subkey), subkey, root);
  return std::fclose(out) == 0 ? 0 : Fail("writing the dump", 0);
}

int Set(const Args& args) {
  wstring subkey;
  HKEY root = args.size() >= 4 && args.size() <= 5 ? Split(Unescape(args[0]), subkey) : nullptr;
  if (root == nullptr || args[3].size() % 2 != 0 || !IsHex(args[3])) return 2;
  std::string bytes;
  for (size_t i = 0; i < args[3].size(); i += 2)
    bytes += char(std::wcstoul(args[3].substr(i, 2).c_str(), nullptr, 16));
  // The registry adds a terminator to string data that lacks one when the bytes after it
  // happen to be zero: a guard keeps the data as it is.
  const std::string guarded = bytes + "\xff\xff";
  Key key;
  LONG status = RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE | WRITE_DAC,
                                nullptr, &key.h, nullptr);
  if (status == 0)
    status = RegSetValueExW(key.h, Unescape(args[1]).c_str(), 0,
                            std::wcstoul(args[2].c_str(), nullptr, 0),
                            reinterpret_cast<const BYTE*>(guarded.data()), DWORD(bytes.size()));
  PSECURITY_DESCRIPTOR sd = nullptr;
  if (status == 0 && args.size() == 5) {
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(args[4].c_str(), 1, &sd, nullptr))
      return 2;
    const std::unique_ptr<void, HLOCAL(WINAPI*)(HLOCAL)> owned(sd, LocalFree);
    status = RegSetKeySecurity(key.h, DACL_SECURITY_INFORMATION, sd);
  }
  return status == 0 ? 0 : Fail("setting the value", status);
}

int Link(const Args& args) {
  wstring subkey;
  HKEY root = args.size() >= 2 && args.size() <= 3 ? Split(Unescape(args[0]), subkey) : nullptr;
  const bool temporary = args.size() == 3 && args[2] == L"volatile";
  if (root == nullptr || (args.size() == 3 && !temporary)) return 2;
  const wstring target = Unescape(args[1]);
  Key key;
  DWORD made = 0;
  LONG status = RegCreateKeyExW(root, subkey.c_str(), 0, nullptr,
                                REG_OPTION_CREATE_LINK | (temporary ? REG_OPTION_VOLATILE : 0),
                                KEY_SET_VALUE | KEY_CREATE_LINK, nullptr, &key.h, &made);
  // An existing key would be opened (through its link, if it is one), not made a link.
  if (status == 0 && made != REG_CREATED_NEW_KEY) status = ERROR_ALREADY_EXISTS;
  // The target is stored as counted UTF-16, without a terminator.
  if (status == 0)
    status = RegSetValueExW(key.h, L"SymbolicLinkValue", 0, REG_LINK,
                            reinterpret_cast<const BYTE*>(target.data()),
                            DWORD(target.size() * sizeof(wchar_t)));
  return status == 0 ? 0 : Fail("creating the link", status);
}

int Run(const Args& args) {
  if (args.size() < 3 || args.size() > 4) return 2;
  wstring line = L"\"" + args[0] + L"\"" + (args[1].empty() ? L"" : L" " + Unescape(args[1]));
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(args[0].c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info))
    return Fail("starting the program", GetLastError());
  using Handle = std::unique_ptr<void, BOOL(WINAPI*)(HANDLE)>;
  const Handle process(info.hProcess, CloseHandle), thread(info.hThread, CloseHandle);
  if (WaitForSingleObject(info.hProcess, std::wcstoul(args[2].c_str(), nullptr, 10) * 1000) != 0) {
    TerminateProcess(info.hProcess, 1);
    return Fail("running the program to its end in time", WAIT_TIMEOUT);
  }
  const DWORD expected = args.size() == 4 ? std::wcstoul(args[3].c_str(), nullptr, 0) : 0;
  DWORD code = 0;
  if (!GetExitCodeProcess(info.hProcess, &code))
    return Fail("reading the exit code", GetLastError());
  if (code == expected) return 0;
  std::fprintf(stderr, "e2e_regtool: the program ended with exit code %lu, not %lu\n", code,
               expected);
  return 1;
}

int Info() {
  TIME_ZONE_INFORMATION zone = {};
  wchar_t device[1024] = {};
  if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID ||
      !QueryDosDeviceW(L"C:", device, 1024))
    return Fail("the query", GetLastError());
  std::printf("%s\n%s\n", Escape(zone.StandardName, true).c_str(), Escape(device, true).c_str());
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const wstring command = argc > 1 ? argv[1] : L"";
  const Args args(argv + std::min(argc, 2), argv + argc);
  const int result = command == L"dump"   ? Dump(args)
                     : command == L"set"  ? Set(args)
                     : command == L"link" ? Link(args)
                     : command == L"run"  ? Run(args)
                     : command == L"info" ? Info()
                                          : 2;
  if (result == 2) std::fprintf(stderr, "e2e_regtool: bad command line\n");
  return result;
}
