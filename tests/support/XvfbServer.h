#pragma once

#include <QByteArray>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

// An Xvfb server of the test's own, started before the application connects to it and ended
// with the test: DISPLAY names it and Qt uses the X11 platform. Xvfb picks a free display
// itself and names it through a pipe, as other tests may start servers of their own.
class XvfbServer
{
public:
    explicit XvfbServer(const char *screen = "1280x1024x24")
    {
        int named[2];
        if (pipe(named) != 0)
            return;
        const char *arguments[] = {"Xvfb", "-displayfd", "3",   "-screen",  "0",
                                   screen, "-nolisten",  "tcp", "-noreset", nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, named[1], 3);
        const bool spawned = posix_spawnp(&m_pid, "Xvfb", &actions, nullptr,
                                          const_cast<char **>(arguments), environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
        close(named[1]);
        if (!spawned) {
            std::fprintf(stderr, "Xvfb is not installed (scripts/install-deps installs it)\n");
            m_pid = 0;
            close(named[0]);
            return;
        }
        char number[16] = {};
        const ssize_t got = read(named[0], number, sizeof number - 1);
        close(named[0]);
        if (got <= 0) {
            std::fprintf(stderr, "Xvfb did not start\n");
            return;
        }
        qputenv("DISPLAY", ":" + QByteArray(number, int(got)).trimmed());
        qputenv("QT_QPA_PLATFORM", "xcb");
        m_running = true;
    }
    ~XvfbServer()
    {
        if (m_pid != 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    XvfbServer(const XvfbServer &) = delete;
    XvfbServer &operator=(const XvfbServer &) = delete;

    bool isRunning() const { return m_running; }

private:
    pid_t m_pid = 0;
    bool m_running = false;
};
