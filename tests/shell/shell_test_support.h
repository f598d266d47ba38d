// Shared pieces of the shell tests and the argument fuzzer: a fresh shell and platform for every case, and
// scripts that run one step each time the saver's message queue runs dry.
#pragma once

#include "shell/platform/test_controls.h"
#include "shell/saver_shell.h"

#include <functional>
#include <vector>

// Shell state back to its start values (nothing loaded, no window), and a fresh platform.
void resetShell();

// Steps run one per idle moment of the message loop (a timer tick usually falls between two). After the
// last one the script ends the run: it destroys every window of ours, unless a password prompt is up.
class SaverScript {
  public:
    explicit SaverScript(std::vector<std::function<void()>> steps);
    ~SaverScript();
    SaverScript(const SaverScript&) = delete;
    SaverScript& operator=(const SaverScript&) = delete;

    size_t stepsRun() const { return next; }

  private:
    void idle();
    std::vector<std::function<void()>> steps;
    size_t next = 0;
    int idleAfterEnd = 0;
};

// saverMain on an argument text under a script; returns the exit code.
int runSaver(const char* argumentText, std::vector<std::function<void()>> steps);
