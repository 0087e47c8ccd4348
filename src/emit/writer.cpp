#include "emit/writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace velmorn {

namespace {

bool makeDirectory(const std::string& path, std::ostream& out)
{
    if (mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) {
        out << "Can't create output directory - " << path << " !\n";
        return false;
    }
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        out << "Can't create output directory - " << path << " !\n";
        return false;
    }
    return true;
}

bool writeAll(int fd, std::string_view s)
{
    while (!s.empty()) {
        ssize_t n = ::write(fd, s.data(), s.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        s.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

}  // namespace

bool makeOutputDirectories(const Design& d, std::ostream& out)
{
    return makeDirectory(d.inname, out) && makeDirectory(d.inname + "/" + d.modules, out);
}

bool writeModuleFile(const VhdlText& t, std::ostream& out)
{
    const std::string& path = t.path();
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) unlink(path.c_str());
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        out << "Can't open output file - " << path << " !";
        return false;
    }
    bool ok = true;
    for (const auto& piece : t.pieces())
        if (!(ok = writeAll(fd, piece.view()))) break;
    if (::close(fd) != 0) ok = false;
    if (!ok) out << "Can't write output file - " << path << " !";
    return ok;
}

}  // namespace velmorn
