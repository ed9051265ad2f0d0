#pragma once
// Security descriptors on keys, for the test of deletions that fail.
#include <windows.h>

#include <string>

// Replaces the key's DACL by the one of an SDDL string such as
// "D:P(D;;SD;;;WD)(A;;KA;;;WD)". Returns the Win32 status.
LONG SetKeyDacl(HKEY root, const std::wstring& subkey, const std::wstring& sddl);
