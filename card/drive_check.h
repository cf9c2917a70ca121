// The check of the chosen drive before a load, and the disk gauge's set-up.
#pragma once

#include "core/disk_gauge.h"
#include "core/feedback.h"
#include "platform/drives.h"

namespace sdmate {

// Asks before using a drive that is not removable (No stops) and stops with an error when the
// drive has no medium. askRemovable = false skips the question (a card named on the command
// line). True: the load may go on.
bool CheckDrive(char drive, Drives& drives, Feedback& feedback, bool askRemovable = true);

// Maximum := the drive's total bytes, position := total - free.
void SetUpGauge(DiskGauge& gauge, char drive, Drives& drives);

}  // namespace sdmate
