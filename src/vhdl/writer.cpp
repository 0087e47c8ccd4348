#include "vhdl/writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace velmorn {

void FileSink::write(std::string_view s)
{
    while (!failed && !s.empty()) {
        const ssize_t n = ::write(fd_, s.data(), s.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) failed = true;
        else s.remove_prefix(static_cast<size_t>(n));
    }
}

bool TreeWriter::makeDirectory(const std::string& path)
{
    const std::string full = root_ + path;
    struct stat st {};
    if ((mkdir(full.c_str(), 0777) != 0 && errno != EEXIST) || lstat(full.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        diag_.problem("Can't create output directory", full);
        return false;
    }
    return true;
}

bool TreeWriter::makeDirectories(const std::string& dir)
{
    for (size_t at = dir.find('/', 1);; at = dir.find('/', at + 1)) {
        const std::string part = dir.substr(0, at);
        struct stat st {};
        if (!part.empty() && stat(part.c_str(), &st) != 0 && mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) break;
        if (at == std::string::npos) break;
    }
    struct stat st {};
    if (stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        diag_.problem("Can't create output directory", dir);
        return false;
    }
    return true;
}

bool TreeWriter::write(const std::string& path, const std::function<void(VhdlOut&)>& emit)
{
    const std::string full = root_ + path;
    struct stat st {};
    if (lstat(full.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) unlink(full.c_str());
    const int fd = ::open(full.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        diag_.problem("Can't open output file", full, false);
        return false;
    }
    return fill(fd, full, emit);
}

bool TreeWriter::writeNew(const std::string& path, const std::function<void(VhdlOut&)>& emit)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        diag_.warning("can't write the checker template " + path);
        return false;
    }
    return fill(fd, path, emit);
}

bool TreeWriter::fill(int fd, const std::string& full, const std::function<void(VhdlOut&)>& emit)
{
    FileSink sink(fd);
    {
        VhdlOut out(sink, buffer_);
        emit(out);
    }
    if (::close(fd) != 0) sink.failed = true;
    if (sink.failed) diag_.problem("Can't write output file", full, false);
    else if (verbose_) diag_.info("wrote " + full);
    return !sink.failed;
}

}  // namespace velmorn
