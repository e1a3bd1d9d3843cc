// Starting the CAD program off Windows: spawned in its own session, with a
// pipe on its standard input that carries the key-in.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <thread>

#include "platform/os/SystemShell.h"

extern char** environ;

namespace earthwork::os {

namespace {

/// A program named without a folder is the one in the working directory, as
/// the Windows shell finds it; otherwise the search path decides.
std::string ResolveProgram(const std::string& program, const std::string& workingDirectory) {
  if (program.find('/') != std::string::npos) return program;
  const std::filesystem::path local = std::filesystem::path(workingDirectory) / program;
  return ::access(local.c_str(), X_OK) == 0 ? local.string() : program;
}

/// Writes all of `text`; a reader that has gone away is an error (EPIPE),
/// not a signal that ends this program.
int WriteAll(int fd, const std::string& text) {
  sigset_t pipeOnly;
  sigset_t previous;
  sigemptyset(&pipeOnly);
  sigaddset(&pipeOnly, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipeOnly, &previous);
  int error = 0;
  for (size_t done = 0; done < text.size() && error == 0;) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n >= 0) {
      done += static_cast<size_t>(n);
    } else if (errno != EINTR) {
      error = errno;
    }
  }
  if (error == EPIPE) {
    const timespec now{0, 0};
    sigtimedwait(&pipeOnly, nullptr, &now);  // take the pending SIGPIPE
  }
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return error;
}

}  // namespace

SystemShell::~SystemShell() {
  if (keyInPipe_ >= 0) ::close(keyInPipe_);
  ReapChildren();
}

void SystemShell::ReapChildren() {
  std::erase_if(children_, [](int pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
}

std::string SystemShell::Start(const std::string& program,
                               const std::vector<std::string>& arguments,
                               const std::string& workingDirectory) {
  ReapChildren();
  if (!std::filesystem::is_directory(workingDirectory)) {
    return "The folder " + workingDirectory + " does not exist";
  }
  const std::string path = ResolveProgram(program, workingDirectory);
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0)
    return std::string("Cannot start ") + path + ": " + std::strerror(errno);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
  posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  // Its own session, so it outlives this program; SIGPIPE back to default.
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF);

  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int error = posix_spawnp(&pid, path.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  ::close(fds[0]);
  if (error != 0) {
    ::close(fds[1]);
    return "Cannot start " + path + ": " + std::strerror(error);
  }
  children_.push_back(pid);
  if (keyInPipe_ >= 0) ::close(keyInPipe_);
  keyInPipe_ = fds[1];
  return {};
}

std::string SystemShell::SendKeys(const std::string& keys) {
  if (keyInPipe_ < 0) return "No started program takes the key-in";
  const int error = WriteAll(keyInPipe_, keys + "\n");
  ::close(keyInPipe_);
  keyInPipe_ = -1;
  if (error != 0)
    return "The started program did not take the key-in: " + std::string(std::strerror(error));
  return {};
}

void SystemShell::Sleep(int milliseconds) {
  if (letEventsRun_) letEventsRun_();
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace earthwork::os
