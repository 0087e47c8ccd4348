#include "vhdl/writer.h"

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "support/two_workers.h"

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

int TreeWriter::openInTree(const std::string& full)
{
    struct stat st {};
    if (lstat(full.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) unlink(full.c_str());
    return ::open(full.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
}

TreeWriter::Outcome TreeWriter::writeInTree(const std::string& full, const std::function<void(VhdlOut&)>& emit,
                                            std::string& buffer)
{
    const int fd = openInTree(full);
    return fd < 0 ? Outcome::NotOpened : fill(fd, emit, buffer);
}

bool TreeWriter::write(const std::string& path, const std::function<void(VhdlOut&)>& emit)
{
    const std::string full = root_ + path;
    return report(writeInTree(full, emit, buffers_[0]), full);
}

bool TreeWriter::writeNew(const std::string& path, const std::function<void(VhdlOut&)>& emit)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    return report(fd < 0 ? Outcome::NotOpened : fill(fd, emit, buffers_[0]), path, true);
}

std::vector<size_t> costliestFirst(const std::vector<FileJob>& files)
{
    std::vector<size_t> order;
    bool known = false;
    for (size_t i = 0; i < files.size(); ++i) {
        order.push_back(i);
        known = known || files[i].cost > 0;
    }
    if (!known) return {};
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return files[a].cost > files[b].cost; });
    return order;
}

std::vector<size_t> copiesLast(const std::vector<FileJob>& files)
{
    std::vector<size_t> order;
    for (size_t i = files.size(); i-- > 0;)
        if (!files[i].unitCopy) order.push_back(i);
    for (size_t i = 0; i < files.size(); ++i)
        if (files[i].unitCopy) order.push_back(i);
    return order;
}

bool TreeWriter::writeAll(const std::vector<FileJob>& files, bool twoAtATime)
{
    std::vector<Outcome> outcomes(files.size());
    std::vector<std::string> paths(files.size());
    runOnTwoWorkers(files.size(), twoAtATime && twoCores(), costliestFirst(files), [&](size_t i, int worker) {
        paths[i] = root_ + files[i].path;
        outcomes[i] = writeInTree(paths[i], files[i].emit, buffers_[worker]);
    });
    bool ok = true;
    for (size_t i = 0; i < files.size(); ++i) ok = report(outcomes[i], paths[i]) && ok;
    return ok;
}

TreeWriter::Outcome TreeWriter::fill(int fd, const std::function<void(VhdlOut&)>& emit, std::string& buffer)
{
    FileSink sink(fd);
    {
        VhdlOut out(sink, buffer);
        emit(out);
    }
    if (::close(fd) != 0) sink.failed = true;
    return sink.failed ? Outcome::NotWritten : Outcome::Written;
}

bool TreeWriter::report(Outcome outcome, const std::string& full, bool checkerTemplate)
{
    switch (outcome) {
    case Outcome::NotOpened:
        if (checkerTemplate) diag_.warning("can't write the checker template " + full);
        else diag_.problem("Can't open output file", full, false);
        return false;
    case Outcome::NotWritten: diag_.problem("Can't write output file", full, false); return false;
    case Outcome::Written: break;
    }
    if (verbose_) diag_.info("wrote " + full);
    return true;
}

}  // namespace velmorn
