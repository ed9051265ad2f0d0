#pragma once
// The registry hives the running system has loaded, where each is mounted
// and which file on a fixed drive holds it.
#include <cstdint>
#include <string>
#include <vector>

#include "defrag/hive_names.h"

namespace kelvane {

struct HiveEntry {
  std::string name;               // as the system lists it: \REGISTRY\MACHINE\SOFTWARE
  std::string file;               // drive-letter path of the hive file
  std::uint64_t fileSize = 0;     // bytes of `file` when it was discovered
  std::uint64_t compactSize = 0;  // bytes of `compactFile`; 0 until analysed
  std::string compactFile;        // compact copy written by the analysis
  std::string backupFile;         // where the system is asked to keep the old file
};

// In the order in which the system enumerates its hive list.
using HiveList = std::vector<HiveEntry>;

// Device name -> drive for every fixed drive. Other drive types are left
// out, so hives on them are never found.
DeviceMap BuildDeviceMap();

// The file-backed hives of HKLM\System\CurrentControlSet\Control\hivelist
// whose device path maps through `devices` to an existing file. Volatile
// hives (empty data), unmapped devices and missing files are left out; an
// unreadable list gives an empty result.
HiveList ReadHiveList(const DeviceMap& devices);

// Builds the device map, enables the defragmentation privileges and reads
// the hive list. Empty when no fixed drive is known (privileges untouched)
// or the list cannot be read.
HiveList DiscoverHives();

// The process-wide list: set once at start-up, then read and updated in
// place by the analysis and the replacement.
void SetProcessHiveList(HiveList list);
HiveList& ProcessHiveList();

}  // namespace kelvane
