// The progress line of the job: shown only when standard error is a terminal.
#include "app/progress.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace {

void Report() {
  Progress_PlanGroup("00001");
  Progress_Day("20261208");
  Progress_Proposal();
  Progress_Day("20261209");
  Progress_Proposal();
  Progress_PlanGroup("00002");
  Progress_End();
}

// Runs Report() in a child whose standard error is `fd`, then collects what
// arrives on `read_fd` until the child has gone.
std::string Collect(int fd, int read_fd) {
  pid_t pid = fork();
  if (pid == 0) {
    dup2(fd, STDERR_FILENO);
    Report();
    _exit(0);
  }
  close(fd);
  std::string text;
  char buf[512];
  while (true) {
    pollfd p{read_fd, POLLIN, 0};
    if (poll(&p, 1, 5000) <= 0) break;
    ssize_t n = read(read_fd, buf, sizeof buf);
    if (n <= 0) break;  // end of the pipe, or EIO once the terminal is closed
    text.append(buf, static_cast<size_t>(n));
  }
  int status = 0;
  waitpid(pid, &status, 0);
  close(read_fd);
  return text;
}

TEST(Progress, SilentWhenStandardErrorIsNotATerminal) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  EXPECT_EQ(Collect(fds[1], fds[0]), "");
}

TEST(Progress, OneUpdatingLineOnATerminal) {
  int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
  ASSERT_GE(slave, 0);
  const std::string text = Collect(slave, master);
  EXPECT_NE(text.find("\rPlangruppe 00001  Tag 08.12.2026  Vorschlaege: 1"), std::string::npos)
      << text;
  EXPECT_NE(text.find("\rPlangruppe 00001  Tag 09.12.2026  Vorschlaege: 2"), std::string::npos);
  // A new plan group has no day yet; the count runs on over the whole run.
  EXPECT_NE(text.find("\rPlangruppe 00002  Tag -  Vorschlaege: 2"), std::string::npos);
  // The line is rewritten in place and ended once at the end.
  // (the terminal turns the line break into \r\n).
  EXPECT_EQ(text.find('\n'), text.size() - 1) << text;
}

TEST(Progress, TextOfTheLine) {
  EXPECT_EQ(Progress_Text("00003", "20270131", 12),
            "Plangruppe 00003  Tag 31.01.2027  Vorschlaege: 12");
  EXPECT_EQ(Progress_Text("", nullptr, 0), "Plangruppe -  Tag -  Vorschlaege: 0");
}

}  // namespace
