// Opening addresses in the user's web browser.
#pragma once

#include <string>

// Hands Address, unchanged, to the desktop's opener (xdg-open, found on
// PATH) as its one argument, and returns at once. The outcome is ignored:
// a missing or failing opener does nothing visible. Every started opener is
// reaped when it ends.
void LaunchBrowser(const std::string& Address);
