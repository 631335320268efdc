// A stand-in for the probe tool in the benchmarks, run as "benchtool -i FILE". FILE's first line
// may hold "pause=MS"; the rest of it is printed to standard output as fast as the reader takes
// it. With a pause, the first half is printed, then the tool sleeps, then it prints the rest.

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace {

void writeAll(const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(1, data, size);
        if (n <= 0)
            return;
        data += n;
        size -= size_t(n);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3 || std::strcmp(argv[1], "-i") != 0)
        return 2;
    std::ifstream file(argv[2], std::ios::binary);
    if (!file)
        return 1;
    std::string firstLine;
    std::getline(file, firstLine);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};

    constexpr std::string_view PauseDirective = "pause=";
    long pauseMs = 0;
    if (firstLine.starts_with(PauseDirective))
        pauseMs = std::atol(firstLine.c_str() + PauseDirective.size());

    const size_t half = pauseMs > 0 ? text.size() / 2 : text.size();
    writeAll(text.data(), half);
    if (pauseMs > 0)
        ::usleep(useconds_t(pauseMs) * 1000);
    writeAll(text.data() + half, text.size() - half);
    return 0;
}
