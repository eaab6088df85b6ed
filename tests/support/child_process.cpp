#include "tests/support/child_process.h"

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace ruror::test {
namespace {

constexpr uid_t kNobody = 65534;

void writeAll(int fd, const std::string& data) {
    std::size_t written = 0;
    while (written < data.size()) {
        const ssize_t n = write(fd, data.data() + written, data.size() - written);
        if (n <= 0) return;
        written += static_cast<std::size_t>(n);
    }
}

}  // namespace

bool runningAsRoot() { return geteuid() == 0; }

Child startChild(const std::function<std::string()>& action, const ChildOptions& options) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) throw std::runtime_error("pipe");
    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork");
    if (pid == 0) {
        close(pipeFds[0]);
        signal(SIGXFSZ, SIG_IGN);
        if (options.fileSizeLimit) {
            const rlimit limit{*options.fileSizeLimit, *options.fileSizeLimit};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(120);
        }
        if (options.dropPrivileges && runningAsRoot()) {
            if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(121);
        }
        writeAll(pipeFds[1], action());
        close(pipeFds[1]);
        _exit(0);
    }
    close(pipeFds[1]);
    return Child{pid, pipeFds[0]};
}

std::string waitForChild(Child child, int* status) {
    std::string output;
    char buffer[4096];
    for (ssize_t n; (n = read(child.output, buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<std::size_t>(n));
    close(child.output);
    int childStatus = 0;
    waitpid(child.pid, &childStatus, 0);
    if (status) *status = childStatus;
    return output;
}

std::string inChild(const std::function<std::string()>& action, const ChildOptions& options) {
    int status = 0;
    std::string output = waitForChild(startChild(action, options), &status);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the child process failed with status " + std::to_string(status));
    return output;
}

}  // namespace ruror::test
