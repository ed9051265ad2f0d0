// A value line must stay one line (continuations aside), never end in a
// bare "=", and give back quoted text unchanged when unescaped.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "repair/reg_file_format.h"

using namespace kelvane;

namespace {

std::string Unescape(const std::string& quoted) {
  std::string text;
  for (std::size_t i = 0; i < quoted.size(); ++i) {
    if (quoted[i] == '\\') ++i;
    if (i < quoted.size()) text += quoted[i];
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::uint32_t type = data[0] % 13;
  const std::size_t nameLength = data[1] % (size - 1);
  const std::string name(reinterpret_cast<const char*>(data + 2),
                         nameLength < size - 2 ? nameLength : 0);
  const std::size_t offset = 2 + name.size();
  const std::size_t length = size - offset;
  // A block of exactly the data's size, so overreads are caught.
  std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[length ? length : 1]);
  if (length) std::memcpy(exact.get(), data + offset, length);
  if (!FitsOnOneLine(name)) return 0;

  const std::string line =
      RegValueLine(name, type, exact.get(), static_cast<std::uint32_t>(length));
  if (line.empty() || line.back() == '=') std::abort();
  std::string joined;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line.compare(i, 3, ",\\\n") == 0) {
      joined += ',';
      i += 2;
      continue;
    }
    joined += line[i];
  }
  if (!FitsOnOneLine(joined)) std::abort();
  const std::string namePart = RegValueNamePart(name);
  if (joined.compare(0, namePart.size() + 1, namePart + "=") != 0) std::abort();
  const std::string dataPart = joined.substr(namePart.size() + 1);
  if (type == 1 && dataPart[0] == '"') {
    const std::string text = Unescape(dataPart.substr(1, dataPart.size() - 2));
    if (text.size() + 1 != length || std::memcmp(text.data(), exact.get(), text.size()) != 0)
      std::abort();
  }
  return 0;
}
