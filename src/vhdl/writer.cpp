#include "vhdl/writer.h"

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <sched.h>

#include "support/two_workers.h"

namespace velmorn {

bool writeAt(int fd, std::optional<uint64_t> offset, std::string_view s)
{
    while (!s.empty()) {
        const ssize_t n = offset ? ::pwrite(fd, s.data(), s.size(), static_cast<off_t>(*offset))
                                 : ::write(fd, s.data(), s.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        s.remove_prefix(static_cast<size_t>(n));
        if (offset) *offset += static_cast<uint64_t>(n);
    }
    return true;
}

void BlockRelay::serve(int worker, std::string& buffer)
{
    busy_[worker].store(false);
    const int other = 1 - worker;
    if (!busy_[other].load()) return;
    buffer_ = &buffer;
    state_.store(Waiting, std::memory_order_release);
    for (unsigned idle = 0;;) {
        const int state = state_.load(std::memory_order_acquire);
        if (state == Full) {
            if (!writeAt(fd_, offset_, std::string_view(buffer.data(), size_))) failed_.store(true);
            state_.store(Waiting, std::memory_order_release);
            idle = 0;
            continue;
        }
        if (!busy_[other].load()) {
            // Done with its files, the other one hands nothing over any more
            // (it waited for its last block before closing the file).
            int waiting = Waiting;
            if (state == Closed || state_.compare_exchange_strong(waiting, Closed)) return;
        }
        if (++idle % 64 == 0) sched_yield();
    }
}

bool BlockRelay::handOver(int fd, uint64_t offset, std::string_view block)
{
    int state = Waiting;
    if (state_.load(std::memory_order_relaxed) != Waiting || !state_.compare_exchange_strong(state, Filling))
        return false;
    if (block.size() > buffer_->size()) {
        state_.store(Waiting, std::memory_order_release);
        return false;
    }
    std::memcpy(buffer_->data(), block.data(), block.size());
    fd_ = fd;
    offset_ = offset;
    size_ = block.size();
    state_.store(Full, std::memory_order_release);
    return true;
}

bool BlockRelay::drain()
{
    for (unsigned idle = 0;;) {
        const int state = state_.load(std::memory_order_acquire);
        if (state != Filling && state != Full) break;
        if (++idle % 64 == 0) sched_yield();
    }
    return !failed_.exchange(false);
}

void FileSink::write(std::string_view s)
{
    if (failed || s.empty()) return;
    if (!atOffsets_) {
        failed = !writeAt(fd_, std::nullopt, s);
        return;
    }
    if (!(relay_ && relay_->handOver(fd_, offset_, s)) && !writeAt(fd_, offset_, s)) failed = true;
    offset_ += s.size();
}

void FileSink::finish()
{
    if (relay_ && !relay_->drain()) failed = true;
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
                                            std::string& buffer, BlockRelay* relay)
{
    const int fd = openInTree(full);
    return fd < 0 ? Outcome::NotOpened : fill(fd, emit, buffer, relay);
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
    // The thread that ends first writes blocks of the other's last file.
    BlockRelay relay;
    runOnTwoWorkers(
        files.size(), twoAtATime && twoCores(), costliestFirst(files),
        [&](size_t i, int worker) {
            paths[i] = root_ + files[i].path;
            outcomes[i] = writeInTree(paths[i], files[i].emit, buffers_[worker], &relay);
        },
        [&](int worker) { relay.starts(worker); }, [&](int worker) { relay.serve(worker, buffers_[worker]); });
    bool ok = true;
    for (size_t i = 0; i < files.size(); ++i) ok = report(outcomes[i], paths[i]) && ok;
    return ok;
}

TreeWriter::Outcome TreeWriter::fill(int fd, const std::function<void(VhdlOut&)>& emit, std::string& buffer,
                                     BlockRelay* relay)
{
    // Blocks go to their offsets, some through the relay, only in a plain
    // file; anything else (a device) is written in order by this thread.
    struct stat st {};
    const bool plain = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    FileSink sink(fd, relay, plain);
    {
        VhdlOut out(sink, buffer);
        emit(out);
    }
    sink.finish();
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
