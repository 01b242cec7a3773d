// Handing the process's memory back to the system.
#pragma once

// Whether this system can reclaim a running process's pages on request
// (on Linux, the kernel's page-out advice, 5.4 and later). Recorded once
// at start-up, before the program's own code runs; false when it cannot be
// determined.
extern bool MemoryTrimSupported;

// Returns freed heap to the system and asks it to reclaim as many of the
// process's resident pages as it can; they come back on their next use.
// Whether anything was reclaimed is not reported.
void TrimWorkingSet();
