// A tiny console program that the runner's tests start: it writes given bytes, echoes its input,
// sleeps or exits with a given code, as its arguments say, in order:
//   out=TEXT  err=TEXT      write TEXT (escapes \r \n \\ \xHH) to standard output / error
//   repeat=N:TEXT           write TEXT N times to standard output
//   sleep=MS                sleep
//   waitq                   read standard input until a "q" arrives, then write "got q\r\n"
//   pwd                     write the working directory and "\r\n"
//   args                    write every further argument as "[argument]\r\n" and stop
//   close                   close standard output and error
//   exit=CODE               exit with CODE
// Started with "-i FILE" (as the encoder is for a probe), it follows the commands in the
// environment variable ZORVANE_TEST_CHILD_SCRIPT instead, separated by blanks.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string Unescape(const char* text) {
    std::string out;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p != '\\' || p[1] == '\0') {
            out += *p;
            continue;
        }
        ++p;
        if (*p == 'r')
            out += '\r';
        else if (*p == 'n')
            out += '\n';
        else if (*p == 'x' && p[1] != '\0' && p[2] != '\0') {
            const char hex[3] = {p[1], p[2], '\0'};
            out += char(std::strtol(hex, nullptr, 16));
            p += 2;
        } else
            out += *p;
    }
    return out;
}

void WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            return;
        done += size_t(n);
    }
}

bool StartsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

int Run(const std::vector<std::string>& commands) {
    if (commands.empty())
        WriteAll(1, "(no arguments)\r\n");
    for (size_t i = 0; i < commands.size(); ++i) {
        const std::string& c = commands[i];
        if (StartsWith(c, "out="))
            WriteAll(1, Unescape(c.c_str() + 4));
        else if (StartsWith(c, "err="))
            WriteAll(2, Unescape(c.c_str() + 4));
        else if (StartsWith(c, "repeat=")) {
            const char* colon = std::strchr(c.c_str(), ':');
            const long count = std::atol(c.c_str() + 7);
            const std::string text = Unescape(colon != nullptr ? colon + 1 : "");
            std::string block;
            for (long k = 0; k < count; ++k)
                block += text;
            WriteAll(1, block);
        } else if (StartsWith(c, "sleep="))
            ::usleep(useconds_t(std::atol(c.c_str() + 6)) * 1000);
        else if (c == "waitq") {
            char ch = 0;
            while (::read(0, &ch, 1) == 1 && ch != 'q') {
            }
            if (ch == 'q')
                WriteAll(1, "got q\r\n");
        } else if (c == "pwd") {
            char dir[4096];
            if (::getcwd(dir, sizeof dir) != nullptr)
                WriteAll(1, std::string(dir) + "\r\n");
        } else if (c == "args") {
            for (size_t k = i + 1; k < commands.size(); ++k)
                WriteAll(1, "[" + commands[k] + "]\r\n");
            return 0;
        } else if (c == "close") {
            ::close(1);
            ::close(2);
        } else if (StartsWith(c, "exit="))
            return std::atoi(c.c_str() + 5);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> commands(argv + 1, argv + argc);
    if (argc > 1 && std::strcmp(argv[1], "-i") == 0) {
        commands.clear();
        const char* script = std::getenv("ZORVANE_TEST_CHILD_SCRIPT");
        std::string s = script != nullptr ? script : "";
        size_t start = 0;
        while (start < s.size()) {
            const size_t blank = s.find(' ', start);
            const size_t end = blank == std::string::npos ? s.size() : blank;
            if (end > start)
                commands.push_back(s.substr(start, end - start));
            start = end + 1;
        }
    }
    return Run(commands);
}
