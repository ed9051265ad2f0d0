# Sources of the portable core: no <windows.h>, built by every preset and
# tested natively under the sanitizers.
set(KELVANE_PORTABLE_SOURCES
  foundation/registry_path.cpp
  foundation/value_format.cpp
  foundation/wildcard.cpp
  foundation/text_split.cpp
  foundation/file_path_rules.cpp
  foundation/language_escapes.cpp
  foundation/time_stamp.cpp
  repair/reg_file_format.cpp
)
