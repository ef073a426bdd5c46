// Runs the kzp tool as a child process with files for its standard streams.
#include "KzpRun.h"

#include "../pack/PackTestUtil.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

TKzpResult RunKzp(const std::vector<std::string> &args, const std::string &input, const std::string &program)
{
    TTempFolder io;
    WriteBytes(io / "in", input);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open((io / "in").c_str(), O_RDONLY);
        const int out = ::open((io / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open((io / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        std::vector<char *> argv;
        argv.push_back(const_cast<char *>(program.c_str()));
        for (const std::string &a : args)
            argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    TKzpResult r;
    r.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.Out = ReadBytes(io / "out");
    r.Err = ReadBytes(io / "err");
    return r;
}
