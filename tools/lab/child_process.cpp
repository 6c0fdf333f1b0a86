#include "tools/lab/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>

extern char** environ;

namespace kestrelink::lab {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kReaderTick{100};
constexpr std::chrono::seconds kTerminateGrace{3};

int RemainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<std::int64_t>(left.count(), 0));
}

void CloseIfOpen(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::vector<std::string>& extraEnvironment) {
    int output[2] = {-1, -1};
    int error[2] = {-1, -1};
    if (::pipe2(output, O_CLOEXEC) != 0 || ::pipe2(error, O_CLOEXEC) != 0) {
        CloseIfOpen(output[0]);
        CloseIfOpen(output[1]);
        return;
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        envp.push_back(*entry);
    }
    for (const std::string& entry : extraEnvironment) {
        envp.push_back(const_cast<char*>(entry.c_str()));
    }
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, error[1], STDERR_FILENO);
    pid_t pid = -1;
    const int spawned =
        ::posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(output[1]);
    ::close(error[1]);
    m_outputFd = output[0];
    m_errorFd = error[0];
    if (spawned != 0) {
        CloseIfOpen(m_outputFd);
        CloseIfOpen(m_errorFd);
        return;
    }
    m_pid = pid;
    m_pidFd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    m_reader = std::thread(&ChildProcess::ReadOutput, this);
}

ChildProcess::~ChildProcess() {
    if (m_pid > 0 && !m_exitStatus) {
        Signal(SIGTERM);
        if (!WaitForExit(kTerminateGrace)) {
            Signal(SIGKILL);
            WaitForExit(kTerminateGrace);
        }
    }
    // Output held open by a grandchild must not keep the reader, and so the test, waiting.
    m_stopReading = true;
    if (m_reader.joinable()) {
        m_reader.join();
    }
    CloseIfOpen(m_pidFd);
    CloseIfOpen(m_outputFd);
    CloseIfOpen(m_errorFd);
}

void ChildProcess::ReadOutput() {
    std::array<pollfd, 2> watched{{{m_outputFd, POLLIN, 0}, {m_errorFd, POLLIN, 0}}};
    std::array<char, 4096> chunk{};
    while (!m_stopReading && (watched[0].fd >= 0 || watched[1].fd >= 0)) {
        if (::poll(watched.data(), watched.size(), static_cast<int>(kReaderTick.count())) <= 0) {
            continue;
        }
        for (std::size_t i = 0; i < watched.size(); ++i) {
            if (watched[i].fd < 0 || watched[i].revents == 0) {
                continue;
            }
            const ssize_t length = ::read(watched[i].fd, chunk.data(), chunk.size());
            std::lock_guard lock(m_mutex);
            if (length <= 0) {
                watched[i].fd = -1;  // a negative descriptor is skipped by poll
                m_outputEnded = watched[0].fd < 0 && watched[1].fd < 0;
            } else if (i == 0) {
                m_partialLine.append(chunk.data(), static_cast<std::size_t>(length));
                for (std::size_t end; (end = m_partialLine.find('\n')) != std::string::npos;) {
                    m_lines.push_back(m_partialLine.substr(0, end));
                    m_partialLine.erase(0, end + 1);
                }
            } else {
                m_errorText.append(chunk.data(), static_cast<std::size_t>(length));
            }
            m_changed.notify_all();
        }
    }
}

std::size_t ChildProcess::CountLocked(std::string_view text) const {
    std::size_t count = 0;
    for (const std::string& line : m_lines) {
        count += line.find(text) != std::string::npos ? 1 : 0;
    }
    return count;
}

std::vector<std::string> ChildProcess::WaitForLines(std::string_view text, std::size_t count,
                                                    std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, timeout, [&] { return CountLocked(text) >= count || m_outputEnded; });
    std::vector<std::string> found;
    for (const std::string& line : m_lines) {
        if (line.find(text) != std::string::npos) {
            found.push_back(line);
        }
    }
    return found;
}

std::optional<std::string> ChildProcess::WaitForLine(std::string_view text,
                                                     std::chrono::milliseconds timeout) {
    auto lines = WaitForLines(text, 1, timeout);
    if (lines.empty()) {
        return std::nullopt;
    }
    return std::move(lines.front());
}

std::vector<std::string> ChildProcess::OutputLines() const {
    std::lock_guard lock(m_mutex);
    return m_lines;
}

std::string ChildProcess::ErrorText() const {
    std::lock_guard lock(m_mutex);
    return m_errorText;
}

void ChildProcess::Signal(int signalNumber) {
    if (m_pid > 0 && !m_exitStatus) {
        ::kill(m_pid, signalNumber);
    }
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds timeout) {
    if (m_pid <= 0) {
        return std::nullopt;
    }
    const Clock::time_point deadline = Clock::now() + timeout;
    if (!m_exitStatus) {
        pollfd ended{m_pidFd, POLLIN, 0};
        if (::poll(&ended, 1, RemainingMs(deadline)) <= 0) {
            return std::nullopt;
        }
        int status = 0;
        if (::waitpid(m_pid, &status, 0) != m_pid) {
            return std::nullopt;
        }
        m_exitStatus = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
    }
    std::unique_lock lock(m_mutex);
    m_changed.wait_until(lock, deadline, [this] { return m_outputEnded; });
    return m_exitStatus;
}

}  // namespace kestrelink::lab
