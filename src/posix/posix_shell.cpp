#include "posix/posix_shell.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "files/std_files.h"
#include "text/command_args.h"
#include "text/sjis.h"

namespace tellu {
namespace {

// Runs in the child between fork and exec: async-signal-safe calls only.
[[noreturn]] void ExecChild(const char* program, char* const* argv, const char* folder,
                            bool search, int error_fd) {
  for (int s : {SIGINT, SIGTERM, SIGCHLD, SIGPIPE}) signal(s, SIG_DFL);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  // The console's input is ours; the program gets none.
  const int null = open("/dev/null", O_RDONLY);
  if (null >= 0) {
    dup2(null, STDIN_FILENO);
    if (null != STDIN_FILENO) close(null);
  }
  if (folder[0] == '\0' || chdir(folder) == 0) {
    if (search)
      execvp(program, argv);
    else
      execv(program, argv);
  }
  const int error = errno;
  ssize_t ignored = write(error_fd, &error, sizeof error);
  (void)ignored;
  _exit(127);
}

}  // namespace

// The document is one argument, whatever blanks or quotes it holds.
bool PosixShell::Open(const std::string& document) {
  return StartWithArgs("xdg-open", document, {document}, "");
}

bool PosixShell::Start(const std::string& program, const std::string& params,
                       const std::string& folder) {
  return StartWithArgs(program, params, SplitCommandLine(params), folder);
}

bool PosixShell::StartWithArgs(const std::string& program, const std::string&,
                               const std::vector<std::string>& sjis_args,
                               const std::string& folder) {
  const auto native_program = StdFiles::PosixName(program);
  const auto native_folder = StdFiles::PosixName(folder);
  if (!native_program || !native_folder) {
    if (report_)
      report_(text::SjisToUtf8(native_program ? folder : program) +
              ": the name has no UTF-8 form");
    return false;
  }
  std::string path = *native_program;
  const std::string dir = *native_folder;
  bool search = path.find('/') == std::string::npos;
  if (search && !dir.empty()) {
    const std::string beside = dir + (dir.back() == '/' ? "" : "/") + path;
    if (access(beside.c_str(), X_OK) == 0) {
      path = beside;
      search = false;
    }
  }
  std::vector<std::string> args{path};
  for (const std::string& a : sjis_args) args.push_back(text::SjisToUtf8(a));
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  // The child reports a failed exec through this pipe; a successful exec
  // closes it.
  int pipe_fds[2];
  if (pipe2(pipe_fds, O_CLOEXEC) != 0) return false;
  const pid_t pid = fork();
  if (pid == 0) {
    close(pipe_fds[0]);
    ExecChild(path.c_str(), argv.data(), dir.c_str(), search, pipe_fds[1]);
  }
  close(pipe_fds[1]);
  int error = errno;
  ssize_t n = -1;
  if (pid > 0) {
    do {
      n = read(pipe_fds[0], &error, sizeof error);
    } while (n < 0 && errno == EINTR);
  }
  close(pipe_fds[0]);
  if (pid > 0 && n != static_cast<ssize_t>(sizeof error)) return true;
  if (pid > 0) waitpid(pid, nullptr, 0);
  if (report_) report_(path + ": " + std::strerror(error));
  return false;
}

void PosixShell::ReapChildren() {
  while (waitpid(-1, nullptr, WNOHANG) > 0) {
  }
}

}  // namespace tellu
