#pragma once
// Start-up: the data folder checked and the state loaded before the first screen opens.
#include "data/file_io.h"

namespace mitoran {

// Loads the item list and makes sure item 1's history file exists.
IoResult CheckDataAtStartup();

// Start-up; returns the exit status when start-up fails, otherwise 0 once the first screen is open.
int Main();

}  // namespace mitoran
