// Scripts for the shell tests: steps that run one at a time whenever the saver's message queue runs dry.
#pragma once

#include "shell/platform/test_controls.h"
#include "shell/saver_shell.h"
#include "tests/shell/shell_reset.h"

#include <functional>
#include <vector>

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
