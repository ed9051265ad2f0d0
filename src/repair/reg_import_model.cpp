#include "repair/reg_import_model.h"

#include "foundation/ansi_text.h"

namespace kelvane {

// How `regedit /s` imports a REGEDIT4 file, as observed under Wine 8.0
// with the ANSI code page 1252. The model follows it and refuses any line
// that the export writer would not produce.
//  - Each line is converted from the ANSI code page to UTF-16 before it is
//    parsed, so key paths, value names and quoted strings come back as what
//    the code page maps their bytes to (in 1252 even 0x81, 0x8D, 0x8F,
//    0x90 and 0x9D, as U+0081 and so on). Lines of 40000 characters and
//    names of 16383 characters import whole.
//  - Quoted names and strings: "\\" and "\"" are unescaped (Wine also reads
//    "\n" and "\r", which the writer never produces). A quoted string is
//    stored as REG_SZ with one terminating NUL.
//  - hex(1), hex(2) and hex(7) bytes are taken as ANSI text: a NUL is
//    appended when the last byte is not one, then all bytes, embedded NULs
//    included, are converted to UTF-16. No bytes stay no bytes.
//  - hex: and every other hex(N) keep their bytes as they are; N is read
//    as hexadecimal (hex(10) gives type 16, hex(ffffffff) type 0xFFFFFFFF).
//  - A key line creates the key and every missing parent, also when no
//    value follows. Key names with "]", "[", quotes, semicolons, leading or
//    trailing blanks and control characters other than CR and LF come back
//    intact; so do value names with them.
// So string data with a character outside the code page, string data
// without its terminating NUL, and string data of odd length do not come
// back as they were.

namespace {

std::vector<unsigned char> WideBytes(const std::wstring& text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  return std::vector<unsigned char>(bytes, bytes + text.size() * sizeof(wchar_t));
}

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// Quoted text from just after its opening quote; `pos` ends after the
// closing quote. Only the two escapes the writer produces are accepted.
bool ReadQuoted(const std::wstring& line, std::size_t& pos, std::wstring& text) {
  text.clear();
  while (pos < line.size()) {
    const wchar_t c = line[pos++];
    if (c == L'"') return true;
    if (c == L'\\') {
      if (pos >= line.size() || (line[pos] != L'\\' && line[pos] != L'"')) return false;
      text += line[pos++];
    } else {
      text += c;
    }
  }
  return false;
}

bool ReadByteList(const std::wstring& list, std::vector<unsigned char>& bytes) {
  bytes.clear();
  for (std::size_t pos = 0; pos < list.size();) {
    if (pos + 2 > list.size()) return false;
    const int high = HexDigit(list[pos]), low = HexDigit(list[pos + 1]);
    if (high < 0 || low < 0) return false;
    bytes.push_back(static_cast<unsigned char>(high * 16 + low));
    pos += 2;
    if (pos == list.size()) break;
    if (list[pos] != L',' || pos + 1 == list.size()) return false;
    ++pos;
  }
  return true;
}

bool ReadData(const std::wstring& part, WideRegValue& value) {
  if (!part.empty() && part[0] == L'"') {
    std::size_t pos = 1;
    std::wstring text;
    if (!ReadQuoted(part, pos, text) || pos != part.size()) return false;
    value.type = REG_SZ;
    value.data = WideBytes(text + L'\0');
    return true;
  }
  if (part.compare(0, 6, L"dword:") == 0) {
    if (part.size() != 14) return false;
    DWORD number = 0;
    for (std::size_t i = 6; i < 14; ++i) {
      const int digit = HexDigit(part[i]);
      if (digit < 0) return false;
      number = number * 16 + static_cast<DWORD>(digit);
    }
    value.type = REG_DWORD;
    value.data.assign(reinterpret_cast<unsigned char*>(&number),
                      reinterpret_cast<unsigned char*>(&number) + sizeof number);
    return true;
  }
  std::size_t listStart = 0;
  if (part.compare(0, 4, L"hex:") == 0) {
    value.type = REG_BINARY;
    listStart = 4;
  } else if (part.compare(0, 4, L"hex(") == 0) {
    const std::size_t close = part.find(L"):", 4);
    if (close == std::wstring::npos || close == 4 || close > 12) return false;
    unsigned long long number = 0;
    for (std::size_t i = 4; i < close; ++i) {
      const int digit = HexDigit(part[i]);
      if (digit < 0) return false;
      number = number * 16 + static_cast<unsigned>(digit);
    }
    if (number > 0xFFFFFFFFull) return false;
    value.type = static_cast<DWORD>(number);
    listStart = close + 2;
  } else {
    return false;
  }
  if (!ReadByteList(part.substr(listStart), value.data)) return false;
  if ((value.type == REG_SZ || value.type == REG_EXPAND_SZ || value.type == REG_MULTI_SZ) &&
      !value.data.empty()) {
    if (value.data.back() != 0) value.data.push_back(0);
    value.data =
        WideBytes(AnsiToWide(reinterpret_cast<const char*>(value.data.data()), value.data.size()));
  }
  return true;
}

bool ReadValueLine(const std::wstring& line, std::wstring& name, WideRegValue& value) {
  std::size_t pos = 0;
  if (line.compare(0, 2, L"@=") == 0) {
    name.clear();
    pos = 1;
  } else if (!line.empty() && line[0] == L'"') {
    pos = 1;
    if (!ReadQuoted(line, pos, name)) return false;
  } else {
    return false;
  }
  if (pos >= line.size() || line[pos] != L'=') return false;
  return ReadData(line.substr(pos + 1), value);
}

}  // namespace

// The registry that importing `text` builds, or false for a line the
// model does not know (the caller then cannot vouch for the restore).
bool ImportModel(const std::string& text, WideRegTree& tree) {
  std::wstring current;
  bool inKey = false;
  std::string logical;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    logical.append(text, start, end - start);
    start = end + 1;
    // A byte list goes on in the next line after ",\".
    if (logical.size() >= 2 && logical.compare(logical.size() - 2, 2, ",\\") == 0) {
      logical.pop_back();
      continue;
    }
    const std::wstring line = AnsiToWide(logical);
    logical.clear();
    if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
      current = line.substr(1, line.size() - 2);
      if (current.empty() || current.back() == L'\\') return false;
      // The import creates every missing parent as well.
      for (std::size_t cut = current.find(L'\\'); cut != std::wstring::npos;
           cut = current.find(L'\\', cut + 1)) {
        if (cut == 0 || current[cut - 1] == L'\\') return false;
        tree[current.substr(0, cut)];
      }
      tree[current];
      inKey = true;
      continue;
    }
    std::wstring name;
    WideRegValue value;
    if (!inKey || !ReadValueLine(line, name, value)) return false;
    tree[current][name] = value;
  }
  return logical.empty();
}

// The part of the tree at and below `path`.
WideRegTree Subtree(const WideRegTree& tree, const std::wstring& path) {
  WideRegTree part;
  for (const auto& entry : tree) {
    const std::wstring& key = entry.first;
    if (key == path || (key.size() > path.size() && key.compare(0, path.size(), path) == 0 &&
                        key[path.size()] == L'\\'))
      part.insert(entry);
  }
  return part;
}

}  // namespace kelvane
