// Stands in for an older product's uninstaller: writes its folder, the
// descriptors it inherited above the standard three, and its arguments, one a
// line, to $PREVCHECK_TEST_RECORD; exits with $PREVCHECK_TEST_EXIT.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    const char* record = std::getenv("PREVCHECK_TEST_RECORD");
    if (!record)
        return 99;
    std::string fds;
    for (int fd = 3; fd < 64; ++fd) {
        if (fcntl(fd, F_GETFD) != -1)
            fds += " " + std::to_string(fd);
    }
    char cwd[4096] = {};
    if (!getcwd(cwd, sizeof cwd))
        cwd[0] = '\0';
    std::string text = std::string("cwd:") + cwd + "\nfds:" + fds + "\n";
    for (int i = 1; i < argc; ++i)
        text += std::string(argv[i]) + "\n";
    // Written in one go under a temporary name, so a reader sees all or nothing.
    const std::string temporary = std::string(record) + ".part";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return 98;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    std::rename(temporary.c_str(), record);
    const char* code = std::getenv("PREVCHECK_TEST_EXIT");
    return code ? std::atoi(code) : 0;
}
