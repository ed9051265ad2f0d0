// The end-to-end tests' registry tool, run under wine by tests/e2e/*.sh:
//
//   e2e_regtool dump OUT ROOT... [--skip PATH]...  canonical dump (registry_dump.h)
//   e2e_regtool set KEY NAME TYPE HEX        creates KEY and sets one value
//                                            through the wide API; KEY and NAME
//                                            may hold %uXXXX escapes ("" = default)
//   e2e_regtool set-dacl KEY SDDL            replaces the key's DACL
//   e2e_regtool try-delete KEY               SHDeleteKeyW; prints the status
//   e2e_regtool tzname OUT                   the standard-time name in effect
//   e2e_regtool dosdevice DRIVE OUT          QueryDosDeviceW of DRIVE ("C:")
//   e2e_regtool run EXE TAIL SECONDS         starts EXE with the command line
//                                            "EXE" TAIL exactly (TAIL may hold
//                                            %x22 for a quote), waits for it;
//                                            fails when it runs longer
//
// Output files hold ASCII only (escapes as in wide_text.h). Exit code 0 on
// success, 1 on failure, 2 on a bad command line.
#include <shlwapi.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "key_protection.h"
#include "registry_dump.h"
#include "registry_path_w.h"
#include "wide_text.h"

namespace {

// A file opened for writing, closed on every way out.
class OutFile {
 public:
  explicit OutFile(const std::wstring& path) : file_(_wfopen(path.c_str(), L"wb")) {}
  ~OutFile() {
    if (file_ != nullptr) std::fclose(file_);
  }
  OutFile(const OutFile&) = delete;
  OutFile& operator=(const OutFile&) = delete;
  std::FILE* Get() const { return file_; }
  bool Close() {
    std::FILE* file = file_;
    file_ = nullptr;
    return file != nullptr && std::fclose(file) == 0;
  }

 private:
  std::FILE* file_;
};

int Fail(const char* what, LONG status) {
  std::fprintf(stderr, "e2e_regtool: %s failed (status %ld)\n", what, status);
  return 1;
}

int Dump(const std::vector<std::wstring>& args) {
  if (args.empty()) return 2;
  std::vector<std::wstring> roots, skip;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == L"--skip" && i + 1 < args.size())
      skip.push_back(args[++i]);
    else
      roots.push_back(args[i]);
  }
  OutFile out(args[0]);
  if (out.Get() == nullptr) return Fail("opening the dump file", 0);
  if (!DumpRegistry(roots, skip, out.Get())) return Fail("parsing a root", 0);
  return out.Close() ? 0 : Fail("writing the dump", 0);
}

int SetValue(const std::vector<std::wstring>& args) {
  if (args.size() != 4) return 2;
  HKEY root = nullptr;
  std::wstring subkey;
  std::string bytes;
  if (!SplitPathW(UnescapeArgument(args[0]), root, subkey) || !ParseHexBytes(args[3], bytes))
    return 2;
  const DWORD type = std::wcstoul(args[2].c_str(), nullptr, 0);
  KeyHandle key;
  LONG status = RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                key.Out(), nullptr);
  if (status != ERROR_SUCCESS) return Fail("creating the key", status);
  const std::wstring name = UnescapeArgument(args[1]);
  // The registry adds a terminator to string data that lacks one when the
  // bytes after it happen to be zero; a guard keeps unterminated data as is.
  const std::string guarded = bytes + "\xff\xff";
  status = RegSetValueExW(key.Get(), name.c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(guarded.data()),
                          static_cast<DWORD>(bytes.size()));
  return status == ERROR_SUCCESS ? 0 : Fail("setting the value", status);
}

int SetDacl(const std::vector<std::wstring>& args) {
  if (args.size() != 2) return 2;
  HKEY root = nullptr;
  std::wstring subkey;
  if (!SplitPathW(UnescapeArgument(args[0]), root, subkey)) return 2;
  const LONG status = SetKeyDacl(root, subkey, args[1]);
  return status == ERROR_SUCCESS ? 0 : Fail("setting the DACL", status);
}

int TryDelete(const std::vector<std::wstring>& args) {
  if (args.size() != 1) return 2;
  HKEY root = nullptr;
  std::wstring subkey;
  if (!SplitPathW(UnescapeArgument(args[0]), root, subkey)) return 2;
  std::printf("%lu\n", SHDeleteKeyW(root, subkey.c_str()));
  return 0;
}

int TimeZoneName(const std::vector<std::wstring>& args) {
  if (args.size() != 1) return 2;
  TIME_ZONE_INFORMATION zone = {};
  if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID)
    return Fail("GetTimeZoneInformation", static_cast<LONG>(GetLastError()));
  OutFile out(args[0]);
  if (out.Get() == nullptr) return Fail("opening the output file", 0);
  std::fprintf(out.Get(), "%s\n", EscapeName(zone.StandardName).c_str());
  return out.Close() ? 0 : Fail("writing the output file", 0);
}

int DosDevice(const std::vector<std::wstring>& args) {
  if (args.size() != 2) return 2;
  wchar_t target[1024] = {};
  if (QueryDosDeviceW(args[0].c_str(), target, 1024) == 0)
    return Fail("QueryDosDeviceW", static_cast<LONG>(GetLastError()));
  OutFile out(args[1]);
  if (out.Get() == nullptr) return Fail("opening the output file", 0);
  // Device names are plain ASCII: written as they are, backslashes included.
  for (const wchar_t* c = target; *c != 0; ++c)
    std::fputc(*c < 0x80 ? static_cast<char>(*c) : '?', out.Get());
  std::fputc('\n', out.Get());
  return out.Close() ? 0 : Fail("writing the output file", 0);
}

// A process handle, closed on every way out.
class ProcessHandle {
 public:
  ProcessHandle() = default;
  ~ProcessHandle() {
    if (info_.hProcess != nullptr) CloseHandle(info_.hProcess);
    if (info_.hThread != nullptr) CloseHandle(info_.hThread);
  }
  ProcessHandle(const ProcessHandle&) = delete;
  ProcessHandle& operator=(const ProcessHandle&) = delete;
  PROCESS_INFORMATION* Out() { return &info_; }
  HANDLE Get() const { return info_.hProcess; }

 private:
  PROCESS_INFORMATION info_ = {};
};

int RunProgram(const std::vector<std::wstring>& args) {
  if (args.size() != 3) return 2;
  std::wstring commandLine = L"\"" + args[0] + L"\"";
  const std::wstring tail = UnescapeArgument(args[1]);
  if (!tail.empty()) commandLine += L" " + tail;
  const DWORD seconds = std::wcstoul(args[2].c_str(), nullptr, 10);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  ProcessHandle process;
  if (!CreateProcessW(args[0].c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, process.Out()))
    return Fail("starting the program", static_cast<LONG>(GetLastError()));
  if (WaitForSingleObject(process.Get(), seconds * 1000) != WAIT_OBJECT_0) {
    TerminateProcess(process.Get(), 1);
    return Fail("waiting for the program", WAIT_TIMEOUT);
  }
  DWORD exitCode = 0;
  GetExitCodeProcess(process.Get(), &exitCode);
  if (exitCode != 0) return Fail("the program's exit code", static_cast<LONG>(exitCode));
  return 0;
}

int Run(const std::wstring& command, const std::vector<std::wstring>& args) {
  if (command == L"dump") return Dump(args);
  if (command == L"set") return SetValue(args);
  if (command == L"set-dacl") return SetDacl(args);
  if (command == L"try-delete") return TryDelete(args);
  if (command == L"tzname") return TimeZoneName(args);
  if (command == L"run") return RunProgram(args);
  if (command == L"dosdevice") return DosDevice(args);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::vector<std::wstring> args(argv + 2, argv + argc);
  const int result = Run(argv[1], args);
  if (result == 2) std::fprintf(stderr, "e2e_regtool: bad command line\n");
  return result;
}
