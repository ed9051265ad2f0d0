#pragma once
// Identifiers of the defragmentation page and its windows.
// Included by resource_ids.h.
