#pragma once

#include <sys/types.h>

#include <string>

namespace kavlo::test {

// A virtual X server for tests that need a real display. The server picks a free display number itself,
// so test programs running side by side never collide; it stops when the object goes.
class Xvfb {
public:
    explicit Xvfb(const std::string& screen = "1280x1024x24");
    ~Xvfb();
    Xvfb(const Xvfb&) = delete;
    Xvfb& operator=(const Xvfb&) = delete;

    bool Running() const { return !display_.empty(); }
    // ":N", the value for DISPLAY.
    const std::string& Display() const { return display_; }
    // Why the server is not running.
    const std::string& Error() const { return error_; }
    // Makes this server the display of SDL windows opened from now on, this process's and its children's.
    void UseForSdl() const;

private:
    void Start(const std::string& screen);
    std::string ReadDisplayNumber(int fd);

    pid_t pid_ = -1;
    std::string display_;
    std::string error_;
    std::string log_path_;
};

} // namespace kavlo::test
