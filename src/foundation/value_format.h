#pragma once
// Registry value types and their display text.
#include <cstdint>
#include <string>

namespace kelvane {

// Value type numbers as the registry reports them (the <windows.h> macros
// are not available to the portable core).
enum RegistryValueType : std::uint32_t {
  kTypeNone = 0,
  kTypeString = 1,
  kTypeExpandString = 2,
  kTypeBinary = 3,
  kTypeDword = 4,
  kTypeDwordBigEndian = 5,
  kTypeLink = 6,
  kTypeMultiString = 7,
  kTypeResourceList = 8,
  kTypeFullResourceDescriptor = 9,
  kTypeResourceRequirementsList = 10,
  kTypeQword = 11,
};

// The type of a whole-key issue.
constexpr std::uint32_t kWholeKeyType = 0xFFFFFFFFu;

// Display text of value data by type. Never reads beyond `length` bytes:
// a short REG_DWORD uses the bytes it has, the rest counting as zero, and
// strings without a terminator end at the data's end.
std::string FormatValueData(const void* data, std::uint32_t length, std::uint32_t type);

// The data as zero-terminated text, bounded by `length`.
std::string DataAsText(const void* data, std::uint32_t length);

}  // namespace kelvane
