#pragma once
// Identifiers of the scheduled tasks strip on the home page and the update offer.
// Included by resource_ids.h.
