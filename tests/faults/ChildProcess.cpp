#include "tests/faults/ChildProcess.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <sstream>

namespace tervix::test {
namespace {

std::string Encode(const Seen& seen) {
  std::string bytes;
  for (const auto& [name, value] : seen) {
    for (const std::string* piece : {&name, &value})
      bytes += std::to_string(piece->size()) + ":" + *piece;
  }
  return bytes;
}

bool DecodePiece(const std::string& bytes, size_t& at, std::string& piece) {
  const size_t colon = bytes.find(':', at);
  if (colon == std::string::npos)
    return false;
  const size_t length = std::stoul(bytes.substr(at, colon - at));
  if (colon + 1 + length > bytes.size())
    return false;
  piece = bytes.substr(colon + 1, length);
  at = colon + 1 + length;
  return true;
}

bool Decode(const std::string& bytes, Seen& seen) {
  for (size_t at = 0; at < bytes.size();) {
    std::string name;
    std::string value;
    if (!DecodePiece(bytes, at, name) || !DecodePiece(bytes, at, value))
      return false;
    seen[name] = value;
  }
  return true;
}

void WriteAllTo(int descriptor, const std::string& bytes) {
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t written = write(descriptor, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return;
    done += static_cast<size_t>(written);
  }
}

std::string ReadAllFrom(int descriptor) {
  std::string bytes;
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(descriptor, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR)
      continue;
    if (got <= 0)
      return bytes;
    bytes.append(buffer, static_cast<size_t>(got));
  }
}

int FailedAssertions() {
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  if (test == nullptr)
    return 0;
  int failed = 0;
  for (int part = 0; part < test->result()->total_part_count(); ++part)
    failed += test->result()->GetTestPartResult(part).failed() ? 1 : 0;
  return failed;
}

// The child's side: the first byte says whether body ran to its end, the
// rest is what it saw or what stopped it.
[[noreturn]] void RunBody(const std::function<Seen()>& body, const std::string& temporaryFolder,
                          const std::string& logPath, int toParent) {
  const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (log >= 0) {
    dup2(log, STDOUT_FILENO);
    dup2(log, STDERR_FILENO);
    close(log);
  }
  setenv("TMPDIR", temporaryFolder.c_str(), 1);
  const int failedBefore = FailedAssertions();
  std::string report;
  try {
    Seen seen = body();
    report = FailedAssertions() > failedBefore ? "Fthe child's own assertions failed"
                                               : "S" + Encode(seen);
  } catch (const std::exception& exception) {
    report = std::string("Fexception: ") + exception.what();
  } catch (...) {
    report = "Fan exception of an unknown type";
  }
  WriteAllTo(toParent, report);
  std::cout.flush();
  std::fflush(nullptr);
  _exit(0);
}

std::string LogOf(const std::string& logPath) {
  std::ifstream in(logPath, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string Fate(int status) {
  if (WIFSIGNALED(status))
    return "killed by signal " + std::to_string(WTERMSIG(status)) + " (" +
           strsignal(WTERMSIG(status)) + ")";
  if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
    return "exited with status " + std::to_string(WEXITSTATUS(status));
  return "";
}

}  // namespace

ChildOutcome RunInChild(const std::function<Seen()>& body, const std::string& temporaryFolder,
                        const std::string& logPath) {
  int ends[2];
  if (pipe(ends) != 0)
    return {{}, std::string("no pipe: ") + std::strerror(errno)};
  std::cout.flush();
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) {
    close(ends[0]);
    close(ends[1]);
    return {{}, std::string("no child: ") + std::strerror(errno)};
  }
  if (child == 0) {
    close(ends[0]);
    RunBody(body, temporaryFolder, logPath, ends[1]);
  }
  close(ends[1]);
  const std::string report = ReadAllFrom(ends[0]);
  close(ends[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }

  ChildOutcome outcome;
  const std::string fate = Fate(status);
  if (!fate.empty()) {
    outcome.trouble = "the child " + fate;
  } else if (report.empty()) {
    outcome.trouble = "the child reported nothing";
  } else if (report[0] != 'S') {
    outcome.trouble = report.substr(1);
  } else if (!Decode(report.substr(1), outcome.seen)) {
    outcome.trouble = "the child's report is garbled";
  }
  if (!outcome.trouble.empty())
    outcome.trouble += "\n--- its output ---\n" + LogOf(logPath);
  return outcome;
}

}  // namespace tervix::test
