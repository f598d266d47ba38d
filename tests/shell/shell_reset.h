// Puts the shell and the platform back to a fresh process between test cases and fuzz inputs.
#pragma once

// Shell state back to its start values (nothing loaded, no window), and a fresh platform.
void resetShell();
