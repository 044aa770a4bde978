#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "prefs/Prefs.h"
#include "tests/prefs/PrefsTest.h"

extern char** environ;

namespace tervix::test {
namespace {

// Runs the reader with this process's environment and gives what it printed.
std::string OutputOfReader() {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0)
    return "<no pipe>";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  char program[] = PREFS_READER;
  char* arguments[] = {program, nullptr};
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program, &actions, nullptr, arguments, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  std::string output;
  char buffer[256];
  for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
    output.append(buffer, got);
  close(pipeEnds[0]);
  if (spawned != 0)
    return "<reader did not start>";
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? output : "<reader failed>";
}

TEST_F(PrefsTest, SavedLoginIsReadByTheNextRun) {
  const std::string login = "gate\xC3\xA9way \xFF";
  Prefs::PrefLogin(login);
  EXPECT_EQ(OutputOfReader(), login);
}

TEST_F(PrefsTest, ClearedLoginIsReadAsEmptyByTheNextRun) {
  Prefs::PrefLogin("player1");
  Prefs::PrefLogin("");
  EXPECT_EQ(OutputOfReader(), "");
}

}  // namespace
}  // namespace tervix::test
