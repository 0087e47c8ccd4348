// The one place that touches the output tree: makes its directories, opens,
// writes and closes each generated file, and reports what fails.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/diagnostics.h"
#include "vhdl/out.h"

namespace velmorn {

// Where the thread that has written its last file writes blocks of the
// file that the other thread is still writing: the other one hands a block
// over (a copy into this thread's buffer) and goes on putting its text
// together while the block is written, instead of waiting for the system to
// take it. One block at a time; every block at its own offset.
class BlockRelay {
public:
    // A worker begins taking files.
    void starts(int worker) { busy_[worker].store(true); }
    // A worker has no file left: while the other still writes, writes what
    // it hands over, through `buffer`, which holds a block at most.
    void serve(int worker, std::string& buffer);
    // Hands over `block` of the file `fd` at `offset`, where a thread serves
    // and the block fits in its buffer; false otherwise (nothing handed over).
    bool handOver(int fd, uint64_t offset, std::string_view block);
    // Waits until the block handed over last is written; false when writing
    // one of the blocks handed over since the last call failed.
    bool drain();

private:
    enum State { Closed, Waiting, Filling, Full };
    std::atomic<int> state_{Closed};
    std::atomic<bool> busy_[2] = {false, false};
    std::atomic<bool> failed_{false};
    std::string* buffer_ = nullptr;  // the serving thread's
    // The block handed over: set before state_ becomes Full.
    int fd_ = -1;
    uint64_t offset_ = 0;
    size_t size_ = 0;
};

// The text of one file, written to its descriptor at its offsets as the
// emitter hands it over, by this thread or, through a relay, by the other;
// a write that takes only part of the text is followed by one for the rest.
class FileSink : public OutputSink {
public:
    // `atOffsets`: the file is a plain one, written at its offsets (the
    // relay's blocks may go before the ones before them); otherwise one
    // write after the other, as to a device.
    explicit FileSink(int fd, BlockRelay* relay = nullptr, bool atOffsets = false)
        : fd_(fd), relay_(atOffsets ? relay : nullptr), atOffsets_(atOffsets)
    {
    }
    bool failed = false;  // a write failed: the file is incomplete

    void write(std::string_view text) override;
    // Returns once every block is written (call before closing the file).
    void finish();

private:
    int fd_;
    BlockRelay* relay_;
    bool atOffsets_;
    uint64_t offset_ = 0;  // where the next block goes
};

// Writes all of `text` to `fd` at `offset`, or, without one, where the
// file stands (a device, a pipe); false when a write fails.
bool writeAt(int fd, std::optional<uint64_t> offset, std::string_view text);

// One file of a tree: its path and what writes its text. The emitter owns
// what it needs, so that it can run after the plan that made it has moved on.
struct FileJob {
    std::string path;
    std::function<void(VhdlOut&)> emit;
    size_t cost = 0;  // how much work the file is, where a dry run found it; 0: not known
    bool unitCopy = false;  // a copy of the unit, whose names are few: its ports and their signals
};

// The order in which to start the files when two are written at once: the
// costliest first, so that the two threads finish together; empty where no
// cost is known (the files are then taken from both ends of the list).
std::vector<size_t> costliestFirst(const std::vector<FileJob>& files);
// The order in which to go through the files where no cost is known yet, as
// a dry run does: the modules and the top level first, the last of them
// first (the top level, often the largest), then the unit's copies, which
// declare the fewest names and so even out the two threads' ends.
std::vector<size_t> copiesLast(const std::vector<FileJob>& files);
// How much work each file of a tree is, by path, as a dry run found it.
using FileCosts = std::map<std::string, size_t>;

// Where the files of a tree go.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    // Makes the directory `path`; false (reported) when it cannot be used.
    virtual bool makeDirectory(const std::string& path) = 0;
    // Writes the file `path` with the text that `emit` writes; false
    // (reported) when the file was not fully written.
    virtual bool write(const std::string& path, const std::function<void(VhdlOut&)>& emit) = 0;
    // Writes every file of the list, each as write() does, and reports them
    // in the list's order; true when all were written. With `twoAtATime`,
    // writers that can write two files at once may do so.
    virtual bool writeAll(const std::vector<FileJob>& files, bool twoAtATime)
    {
        (void)twoAtATime;
        bool ok = true;
        for (const FileJob& f : files) ok = write(f.path, f.emit) && ok;
        return ok;
    }
};

// The files on disk.
class TreeWriter : public FileWriter {
public:
    // `root` is prepended to every path: "" for the working directory, or a
    // directory followed by "/". With `verbose`, every file written is named
    // on standard error.
    explicit TreeWriter(Diagnostics& diagnostics, std::string root = "", bool verbose = false)
        : diag_(diagnostics), root_(std::move(root)), verbose_(verbose)
    {
    }

    // Makes `dir` and every missing directory above it (the root of a tree).
    bool makeDirectories(const std::string& dir);

    // Makes the directory `path`. An existing real directory is fine; a plain
    // file or a symbolic link in its place is reported and refused.
    bool makeDirectory(const std::string& path) override;

    // Writes one file: opens `path` (replacing an existing file; a symbolic
    // link is replaced, never followed), lets `emit` write its text, and closes
    // it. Reports "Can't open output file - <path> !" or "Can't write output
    // file - <path> !" (no line break); false when the file was not fully
    // written.
    bool write(const std::string& path, const std::function<void(VhdlOut&)>& emit) override;

    // Writes a new file at `path` as given (outside the tree, not below the
    // root), never replacing anything that is there. False, reported, when it
    // could not be written.
    bool writeNew(const std::string& path, const std::function<void(VhdlOut&)>& emit);

    // With `twoAtATime` (and two cores), writes the files two at a time:
    // each thread with a buffer of its own, the outcomes reported in the
    // list's order once all are written.
    bool writeAll(const std::vector<FileJob>& files, bool twoAtATime) override;

private:
    enum class Outcome { Written, NotOpened, NotWritten };

    Diagnostics& diag_;
    std::string root_;
    bool verbose_;
    std::string buffers_[2];  // the text of each file collects here, one file after another

    // Opens the file `full` below the root, replacing a symbolic link.
    static int openInTree(const std::string& full);
    // Opens `full` as openInTree() does and fills it.
    static Outcome writeInTree(const std::string& full, const std::function<void(VhdlOut&)>& emit, std::string& buffer,
                               BlockRelay* relay = nullptr);
    // Lets `emit` write into the open file `fd`, through `buffer` (and
    // `relay`, where given), and closes it.
    static Outcome fill(int fd, const std::function<void(VhdlOut&)>& emit, std::string& buffer,
                        BlockRelay* relay = nullptr);
    // Reports the outcome of writing `full`; true when it was written.
    bool report(Outcome outcome, const std::string& full, bool checkerTemplate = false);
};

}  // namespace velmorn
