#include "support/xvfb.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "support/temp_dir.h"

extern char** environ;

namespace kavlo::test {

namespace {

// How long a server may take to come up on a busy machine.
constexpr int kStartTimeoutMs = 15000;

} // namespace

Xvfb::Xvfb(const std::string& screen) {
    Start(screen);
    if (!Running() && pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

Xvfb::~Xvfb() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    if (!log_path_.empty()) {
        unlink(log_path_.c_str());
    }
}

void Xvfb::UseForSdl() const {
    setenv("DISPLAY", display_.c_str(), 1);
    // A desktop session's Wayland would otherwise take the windows away from the server under test.
    setenv("SDL_VIDEODRIVER", "x11", 1);
}

void Xvfb::Start(const std::string& screen) {
    std::string log_template = "/tmp/kavlo-xvfb-XXXXXX";
    const int log_fd = mkstemp(log_template.data());
    if (log_fd < 0) {
        error_ = std::string("no log file for Xvfb: ") + std::strerror(errno);
        return;
    }
    log_path_ = log_template;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        close(log_fd);
        error_ = std::string("no pipe for Xvfb: ") + std::strerror(errno);
        return;
    }
    // The server writes its display number to this descriptor once it takes connections.
    const int child_fd = fcntl(fds[1], F_DUPFD, 3);
    const std::string child_fd_text = std::to_string(child_fd);
    std::vector<std::string> words{"Xvfb", "-displayfd", child_fd_text, "-screen",
                                   "0",    screen,       "-nolisten",   "tcp"};
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, log_fd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, log_fd, STDERR_FILENO);
    const int spawned = posix_spawnp(&pid_, "Xvfb", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(child_fd);
    close(fds[1]);
    close(log_fd);
    if (spawned != 0) {
        pid_ = -1;
        error_ = std::string("cannot start Xvfb: ") + std::strerror(spawned);
    } else {
        std::string number = ReadDisplayNumber(fds[0]);
        if (!number.empty()) {
            display_ = ":" + number;
        }
    }
    close(fds[0]);
}

std::string Xvfb::ReadDisplayNumber(int fd) {
    std::string number;
    pollfd ready{fd, POLLIN, 0};
    while (poll(&ready, 1, kStartTimeoutMs) > 0) {
        char c = 0;
        if (read(fd, &c, 1) != 1) {
            break;
        }
        if (c == '\n') {
            return number;
        }
        number += c;
    }
    error_ = "Xvfb named no display: " + ReadHostFile(log_path_);
    return {};
}

} // namespace kavlo::test
