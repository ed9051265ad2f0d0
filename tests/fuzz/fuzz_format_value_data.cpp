// Value formatting must never read beyond the data it is given.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "foundation/value_format.h"

using namespace kelvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint32_t type = data[0] % 13;
  // Copy into a block of exactly the data's size so overreads are caught.
  const std::size_t length = size - 1;
  std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[length ? length : 1]);
  if (length) std::memcpy(exact.get(), data + 1, length);
  FormatValueData(exact.get(), static_cast<std::uint32_t>(length), type);
  return 0;
}
