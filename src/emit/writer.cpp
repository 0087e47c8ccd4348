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

TreeWriter::~TreeWriter()
{
    if (fd_ >= 0) ::close(fd_);
}

void TreeWriter::begin(const std::string& path)
{
    if (fd_ >= 0) ::close(fd_);
    path_ = path;
    failed_ = false;
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) unlink(path.c_str());
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    opened_ = fd_ >= 0;
    if (!opened_) out_ << "Can't open output file - " << path << " !";
}

void TreeWriter::write(std::string_view block)
{
    if (fd_ >= 0 && !failed_ && !writeAll(fd_, block)) failed_ = true;
}

bool TreeWriter::finish(const VhdlText& t)
{
    if (t.path() != path_) begin(t.path());
    if (!opened_) return false;
    for (auto piece : t.views()) write(piece);
    if (::close(fd_) != 0) failed_ = true;
    fd_ = -1;
    opened_ = false;
    if (failed_) out_ << "Can't write output file - " << path_ << " !";
    path_.clear();
    return !failed_;
}

}  // namespace velmorn
