#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/wait_until.h"

namespace vanta::testing {

// A program run as a child process with its standard output and error caught
// in one pipe, read line by line with bounded waits (or thrown away, for
// programs whose output nobody reads). It dies with the test: killed if still
// running when the object goes, and by the kernel when the test process
// itself is killed (a ctest timeout).
class RunningProgram {
  public:
    enum class Output { caught, discarded };

    explicit RunningProgram(const std::vector<std::string>& arguments,
                            Output output = Output::caught) {
        int pipe_ends[2];
        if (::pipe2(pipe_ends, O_CLOEXEC) != 0) {
            throw std::runtime_error("pipe failed");
        }
        std::vector<char*> argv;
        for (const auto& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        const pid_t parent = ::getpid();
        pid_ = ::fork();
        if (pid_ < 0) {
            throw std::runtime_error("fork failed");
        }
        if (pid_ == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (::getppid() != parent) {
                _exit(127);
            }
            const int out = output == Output::caught ? pipe_ends[1] : ::open("/dev/null", O_WRONLY);
            ::dup2(out, STDOUT_FILENO);
            ::dup2(out, STDERR_FILENO);
            ::execv(argv[0], argv.data());
            _exit(127);
        }
        ::close(pipe_ends[1]);
        output_fd_ = pipe_ends[0];
        output_ended_ = output == Output::discarded;
    }
    ~RunningProgram() {
        if (!status_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(output_fd_);
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    pid_t pid() const { return pid_; }
    void signal(int number) const {
        if (!status_) {
            ::kill(pid_, number);
        }
    }

    // The complete lines printed so far.
    const std::vector<std::string>& lines() const { return lines_; }
    std::string output() const {
        std::string text;
        for (const auto& line : lines_) {
            text += line + "\n";
        }
        return text + partial_;
    }

    // Reads until a line from index `from` on satisfies `wanted` (its index),
    // or nothing when none did within `limit` or the output ended.
    std::optional<size_t> wait_for_line(const std::function<bool(const std::string&)>& wanted,
                                        std::chrono::milliseconds limit, size_t from = 0) {
        const auto until = std::chrono::steady_clock::now() + limit;
        for (size_t index = from;; ++index) {
            while (index >= lines_.size()) {
                if (!read_some(until)) {
                    return std::nullopt;
                }
            }
            if (wanted(lines_[index])) {
                return index;
            }
        }
    }
    std::optional<size_t> wait_for_text(const std::string& text, std::chrono::milliseconds limit,
                                        size_t from = 0) {
        return wait_for_line(
            [&](const std::string& line) { return line.find(text) != std::string::npos; }, limit,
            from);
    }

    // The exit status (or 128 + the signal that ended it) once the program
    // ended within `limit`, reading its output to the end meanwhile.
    std::optional<int> wait_for_exit(std::chrono::milliseconds limit) {
        const auto until = std::chrono::steady_clock::now() + limit;
        while (read_some(until)) {
        }
        while (!status_) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            } else if (std::chrono::steady_clock::now() >= until) {
                break;
            } else {
                ::poll(nullptr, 0, 10);
            }
        }
        return status_;
    }

  private:
    // Reads what is there, waiting until `until` at most; false at the end of
    // the output or when the time is up.
    bool read_some(std::chrono::steady_clock::time_point until) {
        if (output_ended_) {
            return false;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            until - std::chrono::steady_clock::now());
        pollfd ready{output_fd_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
            return false;
        }
        char buffer[4096];
        const ssize_t size = ::read(output_fd_, buffer, sizeof buffer);
        if (size <= 0) {
            output_ended_ = true;
            return false;
        }
        partial_.append(buffer, static_cast<size_t>(size));
        for (size_t end; (end = partial_.find('\n')) != std::string::npos;) {
            lines_.push_back(partial_.substr(0, end));
            partial_.erase(0, end + 1);
        }
        return true;
    }

    pid_t pid_ = -1;
    int output_fd_ = -1;
    bool output_ended_ = false;
    std::string partial_;
    std::vector<std::string> lines_;
    std::optional<int> status_;
};

// Whether a socket appeared at `path` within `limit`: the program that makes
// it serves.
inline bool socket_appears(const std::string& path, std::chrono::milliseconds limit) {
    return wait_until(
        [&] {
            struct stat info {};
            return ::stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
        },
        limit);
}

}  // namespace vanta::testing
