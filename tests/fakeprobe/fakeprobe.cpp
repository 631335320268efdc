// A stand-in for the probe tool, for the tests. It is run as "fakeprobe -i FILE", like the real
// tool, and FILE says what to do: its first line holds directives separated by spaces, and the
// rest of the file is the text to print.
//
//   chunk=N        print in pieces of N bytes, each with a write of its own (default: one write)
//   both           alternate the pieces between standard output and standard error
//   repeat=N       print the text N times
//   pause=MS       sleep MS milliseconds after the first piece
//   crash          kill itself with SIGKILL after printing
//   close-output   close standard output and error after printing
//   grandchild     leave a process behind that holds the output open for `linger` ms
//   linger=MS      keep running MS milliseconds after printing
//   hang           never end after printing
//   ignore-term    ignore SIGTERM
//   child          start a child of its own that ignores SIGTERM and never ends
//   remove=NAME    delete the file NAME beside FILE before printing
//   inherited      first print what it inherited: the bytes standard input gave before its end
//                  ("stdin: N") and its open descriptors beyond 0, 1 and 2 ("fds: ...")
//
// A FILE that cannot be read is answered like FFmpeg does, on standard error with exit code 1.
// Environment: FAKEPROBE_PIDS names a file to which the process id of the tool and of every
// process it starts is appended, one a line; FAKEPROBE_ARGS names a file to which each run
// appends its process id, its argument count and its arguments, each followed by a NUL byte.

#include <dirent.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

void appendToFile(const char *variable, const std::string &record)
{
    const char *path = std::getenv(variable);
    if (!path)
        return;
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    [[maybe_unused]] const auto written = ::write(fd, record.data(), record.size());
    ::close(fd);
}

void recordPid(pid_t pid)
{
    appendToFile("FAKEPROBE_PIDS", std::to_string(pid) + '\n');
}

void writeAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n <= 0)
            return;
        data += n;
        size -= size_t(n);
    }
}

void sleepMs(long ms)
{
    ::usleep(useconds_t(ms) * 1000);
}

[[noreturn]] void sleepForever()
{
    for (;;)
        ::pause();
}

struct Directives
{
    size_t chunk = 0;
    bool both = false;
    long repeat = 1;
    long pauseMs = 0;
    bool crash = false;
    bool closeOutput = false;
    bool grandchild = false;
    long lingerMs = 0;
    bool hang = false;
    bool ignoreTerm = false;
    bool child = false;
    std::string remove;
    bool inherited = false;
};

std::string describeInheritance()
{
    // A standard input that is not the null device would block here; the alarm ends the wait.
    ::alarm(5);
    std::array<char, 256> buffer;
    size_t total = 0;
    for (ssize_t n; (n = ::read(0, buffer.data(), buffer.size())) > 0;)
        total += size_t(n);
    ::alarm(0);
    std::string text = "stdin: " + std::to_string(total) + "\nfds:";
    DIR *fds = ::opendir("/proc/self/fd");
    const int own = fds ? ::dirfd(fds) : -1;
    while (const dirent *entry = fds ? ::readdir(fds) : nullptr) {
        const int fd = std::atoi(entry->d_name);
        if (entry->d_name[0] != '.' && fd > 2 && fd != own)
            text += ' ' + std::to_string(fd);
    }
    if (fds)
        ::closedir(fds);
    return text + '\n';
}

Directives parse(const std::string &line)
{
    Directives d;
    std::istringstream words(line);
    std::string word;
    while (words >> word) {
        const auto eq = word.find('=');
        const std::string name = word.substr(0, eq);
        const long value = eq == std::string::npos ? 0 : std::atol(word.c_str() + eq + 1);
        if (name == "chunk") d.chunk = size_t(value);
        else if (name == "both") d.both = true;
        else if (name == "repeat") d.repeat = value;
        else if (name == "pause") d.pauseMs = value;
        else if (name == "crash") d.crash = true;
        else if (name == "close-output") d.closeOutput = true;
        else if (name == "grandchild") d.grandchild = true;
        else if (name == "linger") d.lingerMs = value;
        else if (name == "hang") d.hang = true;
        else if (name == "ignore-term") d.ignoreTerm = true;
        else if (name == "child") d.child = true;
        else if (name == "remove") d.remove = word.substr(eq + 1);
        else if (name == "inherited") d.inherited = true;
    }
    return d;
}

} // namespace

int main(int argc, char *argv[])
{
    recordPid(::getpid());
    std::string args = std::to_string(::getpid()) + '\0' + std::to_string(argc - 1) + '\0';
    for (int i = 1; i < argc; ++i)
        args += std::string(argv[i]) + '\0';
    appendToFile("FAKEPROBE_ARGS", args);

    if (argc != 3 || std::strcmp(argv[1], "-i") != 0) {
        std::fputs("usage: fakeprobe -i FILE\n", stderr);
        return 2;
    }
    std::ifstream file(argv[2], std::ios::binary);
    if (!file) {
        const std::string message = std::string(argv[2]) + ": No such file or directory\n";
        writeAll(2, message.data(), message.size());
        return 1;
    }
    std::string firstLine;
    std::getline(file, firstLine);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    file.close();
    const Directives d = parse(firstLine);

    if (!d.remove.empty()) {
        const std::string script = argv[2];
        const auto slash = script.rfind('/');
        ::unlink((slash == std::string::npos ? d.remove : script.substr(0, slash + 1) + d.remove).c_str());
    }
    if (d.ignoreTerm)
        ::signal(SIGTERM, SIG_IGN);
    if (d.child) {
        if (const pid_t pid = ::fork(); pid == 0) {
            ::signal(SIGTERM, SIG_IGN);
            sleepForever();
        } else {
            recordPid(pid);
        }
    }

    std::string all;
    if (d.inherited)
        all = describeInheritance();
    for (long i = 0; i < d.repeat; ++i)
        all += text;
    const size_t chunk = d.chunk > 0 ? d.chunk : std::max<size_t>(all.size(), 1);
    int fd = 1;
    for (size_t at = 0; at < all.size(); at += chunk) {
        writeAll(fd, all.data() + at, std::min(chunk, all.size() - at));
        if (d.both)
            fd = fd == 1 ? 2 : 1;
        if (at == 0 && d.pauseMs > 0)
            sleepMs(d.pauseMs);
    }

    if (d.crash)
        ::kill(::getpid(), SIGKILL);
    if (d.grandchild) {
        if (const pid_t pid = ::fork(); pid == 0) {
            sleepMs(d.lingerMs);
            return 0;
        } else {
            recordPid(pid);
            return 0;
        }
    }
    if (d.closeOutput) {
        ::close(1);
        ::close(2);
    }
    if (d.hang)
        sleepForever();
    sleepMs(d.lingerMs);
    return 0;
}
