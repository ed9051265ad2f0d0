#pragma once
// A trigger told in words from its record, in the language of the language
// file: what the button of a job shows where the scheduler gives no
// description of its own.
#include <windows.h>
#include <mstask.h>

#include <string>

namespace kelvane {

// "" for a kind of trigger the language file has no words for.
std::string DescribeTrigger(const TASK_TRIGGER& trigger);

}  // namespace kelvane
