// The font caches outlive the way a program holds its application: a function-static
// application object and a font stock kept in a static object must end the process cleanly.
#include "editor/KzTextDrawer.h"
#include "platform/qt/QtCanvas.h"

#include <QApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const char *const kChildVariable = "KZ_FONT_LIFETIME_CHILD";

// What the child process does before it returns and lets the static destructors run: the
// application is function-static, so it dies among them, after the fonts were cached; the
// stock's holder exists before the shared font table does, so it is destroyed after it.
void RunChild() {
  static std::unique_ptr<TheFontStock> heldStock;
  static int argc = 1;
  static char name[] = "font_lifetime_child";
  static char *argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  QImage image(64, 16, QImage::Format_RGB32);
  kzp::TQtCanvas canvas(&image);
  kzp::TFont font;
  font.Name = "Courier New";
  font.Height = -13;
  canvas.SetFont(font);
  (void)canvas.TextWidth("Kopf");
  (void)canvas.TextMetrics();
  heldStock = std::make_unique<TheFontStock>(&font);
}

std::string SelfPath() {
  char buf[4096];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? std::string(buf, std::size_t(n)) : std::string();
}

} // namespace

TEST(FontLifetime, StaticApplicationAndStaticStockExitCleanly) {
  if (std::getenv(kChildVariable)) {
    RunChild();
    return;
  }
  const std::string self = SelfPath();
  ASSERT_FALSE(self.empty());
  // Everything the child needs is prepared before the fork: only exec runs after it.
  std::vector<std::string> env;
  for (char **e = environ; *e; ++e)
    if (std::string(*e).rfind("QT_QPA_PLATFORM=", 0) != 0)
      env.emplace_back(*e);
  env.push_back(std::string(kChildVariable) + "=1");
  env.push_back("QT_QPA_PLATFORM=offscreen");
  std::vector<char *> envp;
  for (std::string &e : env)
    envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string filter = "--gtest_filter=FontLifetime.StaticApplicationAndStaticStockExitCleanly";
  char *args[] = {const_cast<char *>(self.c_str()), filter.data(), nullptr};
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::execve(self.c_str(), args, envp.data());
    ::_exit(127);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status)) << "the child ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
}
