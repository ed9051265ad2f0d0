#pragma once
// Identifiers of the options page, the exclusion dialogs and the registry path picker.
// Included by resource_ids.h.
