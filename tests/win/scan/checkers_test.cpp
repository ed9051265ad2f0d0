// The checkers as their areas drive them, on the sandboxed registry and real files on C: and E:.
#include <algorithm>
#include <map>

#include "foundation/file_checks.h"
#include "foundation/language_table.h"
#include "scan/class_checkers.h"
#include "scan/key_checkers.h"
#include "scan/software_path_checker.h"
#include "scan/value_checkers.h"
#include "support/checker_harness.h"

using namespace kelvane;

namespace {

using Texts = std::vector<std::string>;
const std::string kCv = "Software\\Microsoft\\Windows\\CurrentVersion";
const std::string kClasses = "Software\\Classes", kUninstall = kCv + "\\Uninstall";
const std::string kDlls = kCv + "\\SharedDlls", kRun = kCv + "\\Run";
const std::string kMru = kCv + "\\Explorer\\RunMRU";
const std::string kMenu = kCv + "\\Explorer\\MenuOrder\\Start Menu\\Programs\\";
const std::string kLocale = "System\\CurrentControlSet\\Control\\Nls\\Locale";

std::string Issue(RootKey root, const std::string& key, const std::string& value,
                  const std::string& data, const std::string& description, std::uint32_t type,
                  bool wholeKey = false) {
  return DescribeIssue(ScanIssue{root, key, value, data, description, type, wholeKey});
}
std::string KeyIssue(RootKey root, const std::string& key, const std::string& description,
                     const std::string& data = "") {
  return Issue(root, key, "", data, description, kWholeKeyType, true);
}

class Checkers : public CheckerHarness {
 protected:
  const std::string here = folder.WriteFile("Here\\app.exe");
  const std::string gone = folder / "Gone\\app.exe";
  std::map<std::string, std::string> folders;  // start-menu folders; empty: none could be listed
  StartMenuContext menu{&context, &folders};

  void Walk(RootKey root, const std::string& key, ValueVisitor checker, int recurse = 1) {
    WalkKey(root, key, recurse, checker, &context, ReportKeyAndCheckCancel, &context, {}, {});
  }
  void Enumerate(RootKey root, const std::string& key, KeyVisitor checker, void* data) {
    EnumSubkeys(root, key, checker, data, 0, 0xFFFFFFFFu, 0);
  }
  // Every checker but the time zones', over every type of value.
  void ScanAll() {
    Walk(kCurrentUser, "Software", CheckSoftwareValue);
    Walk(kClassesRoot, "CLSID", CheckComServerValue);
    Walk(kLocalMachine, kClasses + "\\CLSID", CheckComServerValue);
    Enumerate(kLocalMachine, kClasses, CheckFileAssociation, &context);
    Enumerate(kLocalMachine, kUninstall, CheckUninstallEntry, &context);
    Enumerate(kCurrentUser, kMenu, CheckStartMenuOrder, &menu);
    Enumerate(kCurrentUser, "Software", CheckEmptySoftwareKey, &context);
    Walk(kCurrentUser, kMru, CheckHistoryValue);
    Walk(kLocalMachine, kDlls, CheckSharedDllValue, 0);
    Walk(kLocalMachine, kLocale, CheckLocaleValue, 0);
    Walk(kLocalMachine, kRun, CheckStartupValue, 0);
  }
  // The issues found, in any order, each of them announced.
  void ExpectFound(Texts expected) {
    ExpectAnnounced();
    Texts found = DescribeIssues(context.issues);
    std::sort(found.begin(), found.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);
  }
};

TEST_F(Checkers, LeaveHealthyAndUnjudgeableEntriesAlone) {
  const std::string dir = folder.MakeFolder("My App");
  // '%' may be an environment reference that the reader expands.
  // clang-format off
  const Texts texts = {"", "text", here, "\"" + here + "\" \"%1\"", dir, dir + "\\",
      "E:\\Gone\\app.exe", "Q:\\Gone\\app.exe", folder / "%APPDIR%\\app.exe",
      "%ProgramFiles%\\Gone\\app.exe", "C:\\Windows\\System32\\gone.dll", gone + ",-101",
      gone + " -silent", "rundll32.exe " + gone, "\\\\server\\share\\gone.exe", "Gone\\rel.exe"};
  // clang-format on
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const std::string n = std::to_string(i), text = texts[i];
    SetString(kCurrentUser, "Software\\Data", n, text);
    SetString(kCurrentUser, "Software\\Names", text, n);
    SetString(kClassesRoot, "CLSID\\{a-b-c-d-" + n + "}\\InprocServer32", "", text);
    SetString(kLocalMachine, kClasses + "\\." + n + "\\Shell\\Open\\Command", "", text);
    SetString(kLocalMachine, kUninstall + "\\" + n, "UninstallString", text);
    SetDword(kLocalMachine, kDlls, text, 1);
    SetString(kLocalMachine, kRun, n, text);
  }
  // Only plain text is judged, and it ends at its first zero.
  const std::string z = gone + std::string(2, '\0'), two = here + std::string(1, '\0') + gone;
  for (DWORD type : {REG_EXPAND_SZ, REG_MULTI_SZ, REG_BINARY, REG_NONE})
    SetValue(kCurrentUser, "Software\\Typed", gone + char('0' + type), type, z.data(), z.size());
  SetDword(kCurrentUser, "Software\\Typed", gone, 1);
  SetValue(kCurrentUser, "Software\\Two", "Two", REG_SZ, two.data(), DWORD(two.size()));
  // Classes: values that name no server, keys that belong to no class.
  const std::string cls = "CLSID\\{99999999-8888-7777-6666-555544443333}";
  SetString(kClassesRoot, cls + "\\InprocServer32", "CodeBase", gone);
  SetString(kClassesRoot, cls, "", gone);
  SetString(kClassesRoot, cls + "\\Sub\\Deeper", "", gone);
  SetString(kClassesRoot, "CLSID\\NotAnIdentifier\\InprocServer32", "", gone);
  SetString(kClassesRoot, cls + "\\LocalServer", "", gone, REG_EXPAND_SZ);
  // Extensions whose command is too long to judge, or stands elsewhere; an
  // identifier is one key name, with a backslash it would lead to other keys.
  const auto command = [&](const std::string& key, const std::string& text, const char* verb) {
    SetString(kLocalMachine, kClasses + key + "\\Shell\\" + verb + "\\Command", "", text);
  };
  command("\\.long", gone + " /" + std::string(498 - gone.size(), 'x'), "Open");
  command("\\lonefile", gone, "Open");
  command("\\.verb", gone, "Open");
  command("\\vfile", gone, "Edit");
  command("", gone, "Open");
  command("\\Vendor", gone, "Open");
  command("\\Vendor\\pfile", gone, "Open");
  SetString(kLocalMachine, kClasses + "\\.verb", "", "vfile");
  SetString(kLocalMachine, kClasses + "\\.root", "", "\\");
  SetString(kLocalMachine, kClasses + "\\.up", "", "Vendor\\pfile");
  SetString(kLocalMachine, kClasses + "\\.trail", "", "Vendor\\");
  SetString(kLocalMachine, kClasses + "\\.named\\Shell\\Open\\Command", "Named", gone);
  // Uninstall entries: too long to judge, or with values but no uninstaller.
  SetString(kLocalMachine, kUninstall + "\\Long", "UninstallString", gone + std::string(500, ' '));
  SetString(kLocalMachine, kUninstall + "\\NameOnly", "DisplayName", "App");
  SetString(kLocalMachine, kUninstall + "\\DefaultOnly", "", gone);
  CreateKey(kCurrentUser, "Software\\Vendor\\App");  // subkeys, no values
  SetString(kCurrentUser, "Software\\DefaultOnly", "", "");
  SetString(kLocalMachine, kLocale, "00000409", "1");
  CreateKey(kCurrentUser, kMenu + "Gone");  // the folders could not be listed
  ScanAll();
  ExpectFound({});
}

TEST_F(Checkers, ReportWhatIsGoneOrEmptyWithEveryField) {
  const std::string app = "Software\\App", old = folder / "Old\\a.exe", data = folder / "d.exe";
  const std::string quoted = "\"" + gone + "\" /run", open = "\"" + gone + "\" \"%1\"";
  SetString(kCurrentUser, app, "", quoted);
  SetString(kCurrentUser, app, old, data);  // both gone: the name is reported
  const std::string withNul = gone + std::string(1, '\0') + here;  // judged up to its first zero
  SetValue(kCurrentUser, app, "WithNul", REG_SZ, withNul.data(), DWORD(withNul.size() + 1));
  const std::string cls = "CLSID\\{0A1B2C3D-1111-2222-3333-444455556666}";
  const std::string lower = kClasses + "\\CLSID\\{a-b-c-d-e}";
  SetString(kClassesRoot, cls + "\\InprocServer32", "", folder / "x.dll");
  SetString(kLocalMachine, lower + "\\LocalServer32", "", "\"" + folder / "Srv.EXE\" /automation");
  SetString(kLocalMachine, kClasses + "\\.abc", "", "abcfile");
  SetString(kLocalMachine, kClasses + "\\abcfile\\Shell\\Open\\Command", "", open);
  SetString(kLocalMachine, kClasses + "\\.def", "", "deffile");  // no such key: its own command
  SetString(kLocalMachine, kClasses + "\\.def\\Shell\\Open\\Command", "", gone + " %1");
  SetString(kLocalMachine, kClasses + "\\.ghi", "", ".GHI");  // itself: one key
  SetString(kLocalMachine, kClasses + "\\.ghi\\Shell\\Open\\Command", "", gone);
  CreateKey(kLocalMachine, kUninstall + "\\Empty");
  SetString(kLocalMachine, kUninstall + "\\Quoted", "UninstallString", "\"" + gone + "\" /S");
  SetValue(kLocalMachine, kUninstall + "\\Raw", "UninstallString", REG_SZ, gone.data(),
           gone.size());
  folder.MakeFolder("Programs\\Accessories");
  folder.MakeFolder("Programs\\Zubeh\xF6r");
  folder.WriteFile("Programs\\Old Tools.lnk");
  ListSubfolders(folder / "Programs", folders, ListInto::kEmptied, 0);
  for (const char* name : {"accessories", "ZUBEH\xD6R", "Access", "Old Tools"})
    CreateKey(kCurrentUser, kMenu + name);
  CreateKey(kCurrentUser, "Software\\Empty");
  SetString(kCurrentUser, kMru, "a", "http://example.invalid/%s%d");
  SetDword(kCurrentUser, kMru + "\\txt", "Count", 2);
  SetDword(kLocalMachine, kDlls, gone, 1);
  SetString(kLocalMachine, kDlls, data, "2");
  SetString(kLocalMachine, kLocale, "00000c1a", "");
  SetValue(kLocalMachine, kLocale, "00000c1b", REG_SZ, "", 0);
  SetString(kLocalMachine, kLocale, "00000c1c", std::string(1, '\0') + "1");
  SetString(kLocalMachine, kRun, "Quoted", quoted);
  ScanAll();
  const std::string path = "Missing file or folder: ", com = "Missing COM object file: ";
  const std::string assoc = "File association with a missing program: ";
  const std::string entry = "Invalid uninstall entry: ", history = "History list entry: ";
  const std::string order = "Start menu order entry for a missing folder: ";
  const std::string url = "http://example.invalid/%s%d", count = "0x00000002 (2)";
  const std::string dll = "Missing shared DLL: ", locale = "Locale entry without data: ";
  // clang-format off
  ExpectFound({Issue(kCurrentUser, app, "", quoted, path + gone, REG_SZ),
      Issue(kCurrentUser, app, old, data, path + old, REG_SZ),
      Issue(kCurrentUser, app, "WithNul", gone, path + gone, REG_SZ),
      KeyIssue(kClassesRoot, cls, com + "x.dll"), KeyIssue(kLocalMachine, lower, com + "Srv.EXE"),
      KeyIssue(kLocalMachine, kClasses + "\\.abc", assoc + open),
      KeyIssue(kLocalMachine, kClasses + "\\abcfile", assoc + open),
      KeyIssue(kLocalMachine, kClasses + "\\.def", assoc + gone + " %1"),
      KeyIssue(kLocalMachine, kClasses + "\\.ghi", assoc + gone),
      KeyIssue(kLocalMachine, kUninstall + "\\Empty", entry + "Empty"),
      KeyIssue(kLocalMachine, kUninstall + "\\Quoted", entry + "Quoted"),
      KeyIssue(kLocalMachine, kUninstall + "\\Raw", entry + "Raw"),
      KeyIssue(kCurrentUser, kMenu + "Access", order + "Access"),
      KeyIssue(kCurrentUser, kMenu + "Old Tools", order + "Old Tools"),
      KeyIssue(kCurrentUser, "Software\\Empty", "Empty software key: Empty"),
      Issue(kCurrentUser, kMru, "a", url, history + url, REG_SZ),
      Issue(kCurrentUser, kMru + "\\txt", "Count", count, history + count, REG_DWORD),
      Issue(kLocalMachine, kDlls, gone, "0x00000001 (1)", dll + gone, REG_DWORD),
      Issue(kLocalMachine, kDlls, data, "2", dll + data, REG_SZ),
      Issue(kLocalMachine, kLocale, "00000c1a", "", locale + "00000c1a", REG_SZ),
      Issue(kLocalMachine, kLocale, "00000c1b", "", locale + "00000c1b", REG_SZ),
      Issue(kLocalMachine, kLocale, "00000c1c", "", locale + "00000c1c", REG_SZ),
      Issue(kLocalMachine, kRun, "Quoted", quoted, "Missing start-up program: " + gone, REG_SZ)});
  // clang-format on
}

ScanIssue Value(const std::string& name) {
  return MakeIssue(kCurrentUser, "Software\\Demo", name, "", IssueCategory::kHistoryList, "", 1);
}
ScanIssue Key(RootKey root, const std::string& key, const std::string& valueName = "") {
  ScanIssue issue = MakeKeyIssue(root, key, "", IssueCategory::kMenuOrder, "");
  issue.valueName = valueName;  // a whole-key issue's path never carries it
  return issue;
}

TEST_F(Checkers, AddIssueDropsCannotRemoveEntriesByWholePathIgnoringCase) {
  SetCannotRemoveList({"hkey_current_user\\SOFTWARE\\demo\\NAME",
                       "HKEY_CURRENT_USER\\Software\\Demo\\", "HKEY_LOCAL_MACHINE\\Software\\E"});
  // Dropped: a default value's path ends in a backslash, a key's has no value name.
  for (const ScanIssue& issue : {Value("NAME"), Value(""), Key(kLocalMachine, "Software\\E")})
    AddIssue(context, issue);
  const std::vector<ScanIssue> kept = {Value("Nam"), Key(kLocalMachine, "Software\\E\\Sub"),
                                       Key(kCurrentUser, "Software\\Demo", "Name")};
  for (const ScanIssue& issue : kept) AddIssue(context, issue);
  EXPECT_EQ(DescribeIssues(context.issues), DescribeIssues(kept));
  ExpectAnnounced();
}

}  // namespace
