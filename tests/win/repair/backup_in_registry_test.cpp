// A partial backup counts as restored only when the registry holds every key
// and value of it exactly; what the file says must be told for certain.
#include "repair/backup_in_registry.h"

#include <string>

#include "support/registry_sandbox.h"
#include "support/scratch_folder.h"

using namespace kelvane;

namespace {

constexpr const char* kHeader = "REGEDIT4\r\n";
constexpr const char* kKeyLine = "[HKEY_CURRENT_USER\\Software\\Held]\r\n";
constexpr const char* kEmptyKeyLine = "[HKEY_CURRENT_USER\\Software\\Held\\Empty]\r\n";
constexpr const char* kValueLines = "\"Name\"=\"Value\"\r\n\"Count\"=dword:00000007\r\n";

}  // namespace

TEST(RegistryHoldsBackup, OnlyWhenEveryEntryIsThereExactly) {
  struct Case {
    const char* what;
    std::string content;  // "" writes no file
    void (*change)();     // to the registry that holds the entries
    bool holds;
  };
  const std::string whole = std::string(kHeader) + kKeyLine + kValueLines + kEmptyKeyLine;
  const Case cases[] = {
      {"everything there", whole, [] {}, true},
      {"blank lines and LF alone",
       "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Held]\n\n\"Name\"=\"Value\"\n", [] {}, true},
      {"string data differs", whole,
       [] { SetString(kCurrentUser, "Software\\Held", "Name", "Other"); }, false},
      {"number stored as another type", whole,
       [] {
         const DWORD seven = 7;
         SetValue(kCurrentUser, "Software\\Held", "Count", REG_BINARY, &seven, sizeof seven);
       },
       false},
      {"a value missing", whole,
       [] { RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Held", "Count"); }, false},
      {"a key without values missing", whole,
       [] { RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Held\\Empty"); }, false},
      {"no header", std::string(kKeyLine) + kValueLines, [] {}, false},
      {"a line the writer never makes", whole + "; note\r\n", [] {}, false},
      {"an unknown root", std::string(kHeader) + "[HKEY_NOWHERE\\Software\\Held]\r\n", [] {},
       false},
      {"nothing after the header", kHeader, [] {}, false},
      {"no file", "", [] {}, false},
  };
  for (const Case& c : cases) {
    RegistrySandbox sandbox;
    CreateKey(kCurrentUser, "Software\\Held\\Empty");
    SetString(kCurrentUser, "Software\\Held", "Name", "Value");
    SetDword(kCurrentUser, "Software\\Held", "Count", 7);
    c.change();
    ScratchFolder folder;
    const std::string file = folder / "backup.reg";
    if (!c.content.empty()) folder.WriteFile("backup.reg", c.content);
    EXPECT_EQ(RegistryHoldsBackup(file), c.holds) << c.what;
  }
}
