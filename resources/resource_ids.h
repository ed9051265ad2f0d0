#pragma once
// Identifiers of the program's resources.
#define IDI_KELVANE 101
