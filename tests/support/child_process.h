#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace ruror::test {

struct ChildOptions {
    // Run as the unprivileged user "nobody" when the tests run as root, so
    // that permissions hold as they do for a user.
    bool dropPrivileges = false;
    // The largest file the child may write, in bytes (RLIMIT_FSIZE).
    std::optional<std::uint64_t> fileSizeLimit;
};

bool runningAsRoot();

// Starts the action in a forked child process; what it returns is sent back
// through a pipe and read by waitForChild.
struct Child {
    pid_t pid = -1;
    int output = -1;
};
Child startChild(const std::function<std::string()>& action, const ChildOptions& options = {});
// Waits for the child to end; returns what its action returned, or empty
// text when it was killed.
std::string waitForChild(Child child, int* status = nullptr);

// Runs the action in a child process and returns what it returned.
std::string inChild(const std::function<std::string()>& action, const ChildOptions& options = {});

}  // namespace ruror::test
