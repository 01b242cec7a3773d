#include "Xvfb.h"

#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

void XvfbEnvironment::SetUp()
{
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    pid_ = fork();
    ASSERT_GE(pid_, 0);
    if (pid_ == 0) {
        close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "2400x2100x24", "-nolisten", "tcp",
               "-noreset", nullptr);
        _exit(127);
    }
    close(fds[1]);
    // Xvfb writes the display number it took once it accepts connections.
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    ASSERT_FALSE(number.empty()) << "Xvfb did not start";
    setenv("DISPLAY", (":" + number).c_str(), 1);
    setenv("NO_AT_BRIDGE", "1", 1);  // no accessibility bus here
}

void XvfbEnvironment::TearDown()
{
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}
