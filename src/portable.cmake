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
  foundation/ansi_chars.cpp
  app/command_line.cpp
  foundation/file_size_text.cpp
  foundation/printf_format.cpp
  foundation/setting_number.cpp
  repair/backup_names.cpp
  defrag/hive_names.cpp
  defrag/defrag_savings.cpp
  repair/reg_file_format.cpp
  repair/protected_keys.cpp
  ui/rules/display_date.cpp
  ui/rules/job_status.cpp
  ui/rules/cell_markup.cpp
  ui/rules/html_report.cpp
  ui/rules/text_format.cpp
)
