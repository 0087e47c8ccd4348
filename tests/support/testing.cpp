#include "support/testing.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "emit/text.h"

namespace vtest {

std::string banner(const std::string& path, const std::string& arch) { return velmorn::PrintComment(path, arch); }

TempDir::TempDir()
{
    std::random_device rd;
    for (int i = 0; i < 100; ++i) {
        fs::path p = fs::temp_directory_path() / ("velmorn-test-" + std::to_string(rd()));
        if (fs::create_directory(p)) {
            path_ = p;
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary directory");
}

TempDir::~TempDir()
{
    std::error_code ec;
    // Restore write permission so that read-only test directories can go.
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string readFile(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const fs::path& p, const std::string& text)
{
    if (p.has_parent_path()) fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << text;
}

std::vector<std::string> listFiles(const fs::path& root)
{
    std::vector<std::string> files;
    if (!fs::exists(root)) return files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file()) files.push_back(fs::relative(e.path(), root).generic_string());
    std::sort(files.begin(), files.end());
    return files;
}

std::string shellQuote(const std::string& s)
{
    std::string q(1, '\'');
    for (char c : s) {
        if (c == '\'') q.append("'\\''");
        else q.push_back(c);
    }
    q.push_back('\'');
    return q;
}

namespace {
void addArg(std::string& cmd, const std::string& a)
{
    cmd.push_back(' ');
    cmd.append(shellQuote(a));
}
}  // namespace

RunResult runCommand(const std::string& command, const fs::path& cwd)
{
    std::string full = "cd " + shellQuote(cwd.string()) + " && { " + command + " ; } 2>&1";
    RunResult r;
    FILE* p = popen(full.c_str(), "r");
    if (!p) return r;
    std::array<char, 65536> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.output.append(buf.data(), n);
    int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

RunResult runVelmorn(const std::vector<std::string>& args, const fs::path& cwd)
{
    std::string cmd = shellQuote(VELMORN_EXE);
    for (const auto& a : args) addArg(cmd, a);
    return runCommand(cmd, cwd);
}

bool ghdlAvailable() { return std::system("ghdl --version >/dev/null 2>&1") == 0; }

RunResult ghdlElaborate(const fs::path& tree, const std::string& top, const std::vector<fs::path>& extra)
{
    std::string files;
    for (const auto& f : extra) addArg(files, fs::absolute(f).string());
    for (const auto& f : listFiles(tree))
        if (f.size() > 4 && f.substr(f.size() - 4) == ".vhd") addArg(files, (tree / f).string());
    const fs::path work = tree.parent_path() / ("ghdl-work-" + tree.filename().string());
    fs::create_directories(work);
    const std::string w = " --std=08 -fsynopsys --workdir=" + shellQuote(work.string());
    return runCommand("ghdl -i" + w + files + " && ghdl -m" + w + " " + top, tree.parent_path());
}

RunResult ghdlRun(const std::vector<fs::path>& files, const std::string& tb, const fs::path& workdir,
                  const std::string& stopTime)
{
    fs::create_directories(workdir);
    std::string list;
    for (const auto& f : files) addArg(list, fs::absolute(f).string());
    const std::string w = " --std=08 -fsynopsys --workdir=" + shellQuote(workdir.string());
    std::string run = "ghdl -r" + w + " " + tb + " --assert-level=error";
    if (!stopTime.empty()) run += " --stop-time=" + stopTime;
    return runCommand("ghdl -i" + w + list + " && ghdl -m" + w + " " + tb + " && " + run, workdir);
}

}  // namespace vtest
