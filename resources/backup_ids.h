#pragma once
// Identifiers of the backup page and the partial backups window.
// Included by resource_ids.h.
